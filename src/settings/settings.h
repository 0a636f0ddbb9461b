// The typed settings and their persisted record of strings, read by every layer of
// the program; the application loads and stores them.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace botenruf {

// A field that worker threads read while the user-interface thread writes it. Every field
// is a byte or an aligned word read and written whole; the atomic only makes that explicit.
template <class T>
class Relaxed {
 public:
  Relaxed(T value = T()) : value_(value) {}  // NOLINT: implicit on purpose
  Relaxed(const Relaxed& other) : value_(other.get()) {}
  Relaxed& operator=(const Relaxed& other) {
    set(other.get());
    return *this;
  }
  Relaxed& operator=(T value) {
    set(value);
    return *this;
  }
  operator T() const { return get(); }  // NOLINT
  T get() const { return value_.load(std::memory_order_relaxed); }
  void set(T value) { value_.store(value, std::memory_order_relaxed); }

 private:
  std::atomic<T> value_;
};

// The recipient mode (ListenTyp): a single recipient, a distribution list or a whole domain.
inline constexpr int kModeSingle = 0;
inline constexpr int kModeList = 1;
inline constexpr int kModeDomain = 2;

inline bool IsKnownMode(int mode) {
  return mode >= kModeSingle && mode <= kModeDomain;
}

// How messages go out (Zustellung): net send through the messenger service, or msg, which
// the systems without that service (Windows Vista and newer) offer instead. Automatic takes
// the one of the Windows version the system reports; a stored value of any other number counts
// as automatic.
inline constexpr int kDeliveryAuto = 0;
inline constexpr int kDeliveryNetSend = 1;
inline constexpr int kDeliveryMsg = 2;

inline int DeliveryChoice(int32_t stored) {
  return stored == kDeliveryNetSend || stored == kDeliveryMsg ? stored : kDeliveryAuto;
}

inline constexpr const char* kDefaultListPath = "C:\\Rechner.txt";

struct Settings {
  Relaxed<bool> fullRow = false;
  Relaxed<bool> gridLines = false;
  std::string rechnerListePfad = kDefaultListPath;  // user-interface thread only
  Relaxed<int32_t> maxDateiKB = 2;
  Relaxed<bool> autoStart = false;
  Relaxed<bool> tnaStart = false;
  Relaxed<int32_t> listenTyp = 0;
  Relaxed<int32_t> auswahl = 0;
  Relaxed<int32_t> maxThreads = 20;
  Relaxed<bool> successMsg = false;
  Relaxed<bool> singleSuccessMsg = true;
  Relaxed<bool> domainSuccessMsg = false;
  Relaxed<bool> taskMinimize = false;
  Relaxed<bool> systemModal = false;
  Relaxed<bool> singleInstance = true;
  Relaxed<bool> versandInfo = false;
  Relaxed<int32_t> waitPollrate = 10;
  Relaxed<int32_t> waitStep = 2;
  Relaxed<bool> sendebericht = false;  // a list or domain send reports in one window
  Relaxed<int32_t> zustellung = kDeliveryAuto;
};

inline constexpr size_t kSettingCount = 20;
using SettingsRecord = std::array<std::string, kSettingCount>;

// Registry value names in the order of the record.
extern const std::array<const char*, kSettingCount> kSettingNames;

// Converts the non-empty slots of a loaded record into the typed fields; empty slots keep
// what the fields hold. Truth: first character "1". Numbers: the leading decimal number.
void ApplyRecord(const SettingsRecord& record, Settings& settings);
// Truth values "1"/"0", numbers "%ld", the list path unchanged.
SettingsRecord BuildRecord(const Settings& settings);

}  // namespace botenruf
