#include "update/update_rules.h"

#include "text/text.h"

namespace botenruf {

std::string UpdateBaseUrl(const std::optional<std::string>& variable) {
  std::string base = variable && !variable->empty() ? *variable : kDefaultUpdateBaseUrl;
  if (!EndsWith(base, "/"))
    base += '/';
  return base;
}

namespace {

size_t LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const size_t separator = LastSeparator(path);
  return separator == std::string_view::npos ? std::string()
                                             : std::string(path.substr(0, separator + 1));
}

std::string FileNameOf(std::string_view path) {
  const size_t separator = LastSeparator(path);
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string TemporaryPathFor(const std::string& target) {
  return target + ".tmp";
}

namespace {

bool IsDeviceName(std::string_view name) {
  // "NUL.zip" is the device as well: Windows looks only at the part before the first dot.
  const std::string stem = ToUpper1252(name.substr(0, name.find('.')));
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
    if (stem == device)
      return true;
  }
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

std::string Refused(std::string_view name, const char* reason) {
  return Format("Unzulässiger Dateiname \"%.*s\" (%s)", static_cast<int>(name.size()), name.data(),
                reason);
}

}  // namespace

std::string DownloadNameProblem(std::string_view name, std::string_view programName) {
  if (name.empty())
    return "Kein Dateiname angegeben";
  if (name.find_first_of("\\/:") != std::string_view::npos)
    return Refused(name, "Pfad- oder Laufwerksangabe");
  if (name == "." || name == "..")
    return Refused(name, "Verzeichnisname");
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32 ||
        std::string_view("<>\"|?*").find(c) != std::string_view::npos)
      return Refused(name, "unerlaubtes Zeichen");
  }
  if (name.back() == '.' || name.back() == ' ')
    return Refused(name, "Punkt oder Leerzeichen am Ende");
  if (IsDeviceName(name))
    return Refused(name, "Gerätename");
  if (EqualsIgnoreCase1252(name, programName))
    return Refused(name, "Name des laufenden Programms");
  if (name.size() <= 4 || !EqualsIgnoreCase1252(name.substr(name.size() - 4), ".zip"))
    return Refused(name, "kein Zip-Archiv");
  return {};
}

std::string TransferErrorText(uint32_t code) {
  const char* text = "Bei der Verbindung mit dem Update-Server ist ein Fehler aufgetreten.";
  switch (code) {
    case 12002:  // ERROR_INTERNET_TIMEOUT
    case 10060:  // WSAETIMEDOUT, as Wine reports a receive timeout
      text = "Der Update-Server antwortet nicht (Zeitüberschreitung).";
      break;
    case 12007:  // ERROR_INTERNET_NAME_NOT_RESOLVED
      text =
          "Der Name des Update-Servers konnte nicht aufgelöst werden.\nBesteht eine "
          "Verbindung zum Internet?";
      break;
    case 12029:  // ERROR_INTERNET_CANNOT_CONNECT
      text = "Es konnte keine Verbindung zum Update-Server hergestellt werden.";
      break;
    case 12030:  // ERROR_INTERNET_CONNECTION_ABORTED
    case 12031:  // ERROR_INTERNET_CONNECTION_RESET
      text = "Die Verbindung zum Update-Server wurde unterbrochen.";
      break;
    case 12152:  // ERROR_HTTP_INVALID_SERVER_RESPONSE
      text = "Der Update-Server hat keine gültige Antwort gesendet.";
      break;
    case 12156:  // ERROR_HTTP_REDIRECT_FAILED
      text =
          "Der Update-Server leitet zu oft oder an eine Adresse weiter, die Botenruf nicht "
          "laden kann.";
      break;
  }
  return Format("%s\n(Fehler %lu)", text, static_cast<unsigned long>(code));
}

std::string IncompleteTransferText(uint64_t received, uint64_t expected) {
  return Format(
      "Die Verbindung zum Update-Server wurde unterbrochen, bevor die Datei vollständig war.\n"
      "(%lu von %lu Bytes)",
      static_cast<unsigned long>(received), static_cast<unsigned long>(expected));
}

std::string OverlongTransferText(uint64_t announced) {
  return Format(
      "Der Update-Server hat mehr gesendet, als er angekündigt hat (%lu Bytes); die Übertragung "
      "wurde abgebrochen.",
      static_cast<unsigned long>(announced));
}

std::string WriteErrorText(const std::string& path) {
  return Format("Die Datei '%s' konnte nicht geschrieben werden.", path.c_str());
}

std::string OpenErrorText(const std::string& path) {
  return Format("Die Datei '%s' konnte nicht zum Schreiben geöffnet werden.", path.c_str());
}

std::string TooLargeText(uint64_t limit) {
  return limit >= 1024 * 1024
             ? Format("Die Datei ist größer als %lu MB.",
                      static_cast<unsigned long>(limit / (1024 * 1024)))
             : Format("Die Datei ist größer als %lu KB.", static_cast<unsigned long>(limit / 1024));
}

std::string TimeLimitText(uint32_t totalMs) {
  return Format(
      "Die Übertragung vom Update-Server hat länger als %lu Sekunden gedauert und wurde "
      "abgebrochen.",
      static_cast<unsigned long>(totalMs / 1000));
}

std::string SlowTransferText(uint32_t minBytesPerSecond) {
  return Format(
      "Der Update-Server hat zu langsam gesendet (im Mittel weniger als %lu KB pro Sekunde); die "
      "Übertragung wurde abgebrochen.",
      static_cast<unsigned long>(minBytesPerSecond / 1024));
}

BoxRequest SearchQuestionBox() {
  return {
      "Sie können nun nach neueren Programmversionen im Internet suchen lassen.\n"
      "Dafür müssen Sie allerdings mit dem Internet verbunden ('online') sein.\n"
      "Wenn es eine neuere Version gibt, können Sie diese auch sofort herunter laden.\n"
      "Die ge'zip'te Datei liegt dann im gleichen Pfad wie dieses Programm.\n\n"
      "Updates auf den Seiten der Tarvo-Netz suchen?",
      "Update suchen...", BoxIcon::kInformation};
}

BoxRequest CheckRunningBox() {
  return {"Die Suche nach Updates läuft bereits.", "Update suchen...", BoxIcon::kInformation};
}

BoxRequest NoNewerVersionBox() {
  return {"Keine neuere Version vorhanden", "Suche nach Updates...", BoxIcon::kNone};
}

BoxRequest OfferBox(const Version& installed, const UpdateEntry& entry) {
  return {Format("Es existiert eine neuere Programm-Version:\n"
                 "Lokale Version:   %s\n"
                 "Aktuelle Version: %s\n"
                 "Größe: %d %s\n"
                 "Herunterladen ?",
                 VersionText(installed).c_str(), VersionText(entry.version).c_str(), entry.size,
                 SizeUnitName(entry.sizeUnit)),
          "Suche nach Updates...", BoxIcon::kQuestion};
}

BoxRequest DownloadSuccessBox(const Version& version, const std::string& path) {
  return {Format("Die neue Version (%s) steht nun unter dem Pfad\n\"%s\"\nzur Verfügung.",
                 VersionText(version).c_str(), path.c_str()),
          "Herunterladen erfolgreich", BoxIcon::kInformation};
}

BoxRequest DownloadFailureBox(const std::string& errorText) {
  return {
      Format("Die Datei konnte nicht herunter geladen werden.\nErrorcode: %s", errorText.c_str()),
      "Fehler beim Herunterladen", BoxIcon::kStop};
}

BoxRequest TransferErrorBox(const std::string& message) {
  return {message, kApplicationTitle, BoxIcon::kNone};
}

}  // namespace botenruf
