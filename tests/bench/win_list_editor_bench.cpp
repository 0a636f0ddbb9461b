// Benchmark under Wine (not a test): opening the list editor on 10,000 recipients and 1,000
// lists, and one "Empfänger +" there. Beside each, its floor measured in the same run: the
// same list views of the same dialog template filled with the same texts, with no rules at
// all. Prints program / floor and the ratio.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench_support.h"
#include "fakes/fake_message_boxes.h"
#include "listeditor/win32/list_editor_dialog.h"
#include "platform/win32/list_view.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"
#include "resource.h"
#include "support/win_test_support.h"
#include "text/text.h"

using namespace botenruf;

namespace {

constexpr int kSingles = 10000;
constexpr int kLists = 1000;

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

template <class Work>
double Time(Work work) {
  LARGE_INTEGER from, to;
  QueryPerformanceCounter(&from);
  work();
  QueryPerformanceCounter(&to);
  return Milliseconds(from, to);
}

// The floor: the editor's template with its three views filled plainly, one insert per row.
class PlainFill : public win::Dialog {
 public:
  PlainFill(const RecipientDirectory& directory)
      : Dialog(IDD_LIST_EDITOR, nullptr), directory_(directory) {}

 protected:
  bool OnInitDialog() override {
    const std::pair<int, const std::vector<std::string>*> views[] = {
        {IDC_EDITOR_SINGLES, &directory_.Aliases()}, {IDC_EDITOR_LISTS, &directory_.ListNames()}};
    for (const auto& [id, texts] : views) {
      // The quickest plain fill: no drawing until the end, room for every row at once.
      win::ListView view(Item(id));
      view.AddColumn(0, "x", 100);
      SendMessageA(view.hwnd(), WM_SETREDRAW, FALSE, 0);
      SendMessageA(view.hwnd(), LVM_SETITEMCOUNT, texts->size(), 0);
      for (size_t i = 0; i < texts->size(); ++i)
        view.InsertRow(static_cast<int>(i), (*texts)[i]);
      SendMessageA(view.hwnd(), WM_SETREDRAW, TRUE, 0);
    }
    win::ListView(Item(IDC_EDITOR_MEMBERS)).AddColumn(0, "x", 100);
    return true;
  }

 private:
  const RecipientDirectory& directory_;
};

}  // namespace

int main() {
  const std::string scratch = wintest::ScratchDir("list_editor_bench");
  std::string file = "//begin\r\n";
  for (int i = 0; i < kSingles; ++i)
    file += Format("PC%05d Platz %05d\r\n", i, i);
  file += "//end\r\n//v_begin\r\n";
  for (int i = 0; i < kLists; ++i)
    file += Format("Liste %04d [PC%05d,PC%05d]\r\n", i, i, i + 1);
  file += "//v_end\r\n";
  wintest::WriteTextFile(scratch + "\\Rechner.txt", file);

  win::Win32Registry registry;
  win::Win32System system;
  win::Win32FileSystem files;
  fakes::FakeMessageBoxes boxes;
  win::Win32Startup startup;
  Application app({registry, system, files, boxes, startup});
  app.settings().SetRechnerListePfad(scratch + "\\Rechner.txt");
  app.ReloadDirectory();

  std::printf("list editor: %d single recipients, %d lists\n", kSingles, kLists);
  {
    // The first dialog of a process pays for loading the controls and fonts: not measured.
    PlainFill warmUp(app.directory());
    warmUp.CreateModeless();
  }
  for (int run = 1; run <= 3; ++run) {
    win::ListEditorDialog editor(nullptr, app, boxes, {true, true}, true);
    const double open = Time([&] { editor.CreateModeless(); });
    HWND window = editor.hwnd();
    win::ListView lists(GetDlgItem(window, IDC_EDITOR_LISTS));
    win::ListView singles(GetDlgItem(window, IDC_EDITOR_SINGLES));
    lists.Select(run, true);
    singles.Select(5000 + run, true);
    const double add = Time([&] {
      SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_MEMBER_ADD, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_EDITOR_MEMBER_ADD)));
    });
    const int members = win::ListView(GetDlgItem(window, IDC_EDITOR_MEMBERS)).Count();
    editor.DestroyWindow();

    PlainFill plain(app.directory());
    const double openFloor = Time([&] { plain.CreateModeless(); });
    // "Empfänger +" shows the list's members again: the floor fills that view plainly.
    win::ListView memberView(GetDlgItem(plain.hwnd(), IDC_EDITOR_MEMBERS));
    const double addFloor = Time([&] {
      memberView.DeleteAll();
      for (int i = 0; i < members; ++i)
        memberView.InsertRow(i, "Platz");
    });
    plain.DestroyWindow();
    std::printf("run %d: open %.1f / %.1f ms (%s), add member %.2f / %.2f ms (%s), %d members\n",
                run, open, openFloor, bench::Ratio(open, openFloor).c_str(), add, addFloor,
                bench::Ratio(add, addFloor).c_str(), members);
  }
  return 0;
}
