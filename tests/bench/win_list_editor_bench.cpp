// Benchmark under Wine (not a test): opening the list editor on 1,000, 10,000 and 50,000
// recipients (and a tenth as many lists), and one "Empfänger +" there. Beside each, its floor
// measured in the same run: the editor's dialog template with its list views made plain (they
// keep their own texts), filled with the same texts one row at a time, with no rules at all.
// Prints program / floor and the ratio.
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

constexpr int kSizes[] = {1000, 10000, 50000};

template <class Work>
double Time(Work work) {
  LARGE_INTEGER from;
  QueryPerformanceCounter(&from);
  work();
  return bench::MillisecondsSince(from);
}

// Steps over a name or ordinal of a dialog template (menu, class, title).
const WORD* SkipNameOrOrdinal(const WORD* at) {
  if (*at == 0xFFFF)
    return at + 2;
  while (*at++) {
  }
  return at;
}

const BYTE* AlignToDword(const BYTE* at, const BYTE* start) {
  return start + ((at - start + 3) & ~3);
}

// The editor's template with plain list views: the same template without LVS_OWNERDATA.
std::vector<BYTE> PlainEditorTemplate() {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_LIST_EDITOR), RT_DIALOG);
  const BYTE* source = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)));
  std::vector<BYTE> copy(source, source + SizeofResource(nullptr, resource));
  BYTE* start = copy.data();
  // DLGTEMPLATEEX: version, signature, help id, extended style, style, item count, place.
  const WORD items = *reinterpret_cast<const WORD*>(start + 16);
  const DWORD style = *reinterpret_cast<const DWORD*>(start + 12);
  const WORD* at = reinterpret_cast<const WORD*>(start + 26);
  at = SkipNameOrOrdinal(SkipNameOrOrdinal(at));  // menu, class
  at = SkipNameOrOrdinal(at);                     // title
  if (style & DS_SETFONT)
    at = SkipNameOrOrdinal(at + 3);  // size, weight, italic and character set, then the face
  const BYTE* item = reinterpret_cast<const BYTE*>(at);
  for (WORD i = 0; i < items; ++i) {
    // DLGITEMTEMPLATEEX: help id, extended style, style, place, id, class, title, extra data.
    item = AlignToDword(item, start);
    DWORD* itemStyle = reinterpret_cast<DWORD*>(const_cast<BYTE*>(item) + 8);
    const WORD* className = reinterpret_cast<const WORD*>(item + 24);
    const bool listView =
        *className != 0xFFFF &&
        lstrcmpiW(reinterpret_cast<const wchar_t*>(className), L"SysListView32") == 0;
    if (listView)
      *itemStyle &= ~DWORD{LVS_OWNERDATA};
    const WORD* extra = SkipNameOrOrdinal(SkipNameOrOrdinal(className));
    item = reinterpret_cast<const BYTE*>(extra + 1) + *extra;
  }
  return copy;
}

struct PlainFill {
  const RecipientDirectory* directory;
  HWND window = nullptr;
};

void FillPlainly(HWND view, const std::vector<std::string>& texts) {
  // The quickest plain fill: no drawing until the end, room for every row at once.
  win::ListView list(view);
  list.AddColumn(0, "x", 100);
  SendMessageA(view, WM_SETREDRAW, FALSE, 0);
  SendMessageA(view, LVM_SETITEMCOUNT, texts.size(), 0);
  for (size_t i = 0; i < texts.size(); ++i)
    list.InsertRow(static_cast<int>(i), texts[i]);
  SendMessageA(view, WM_SETREDRAW, TRUE, 0);
}

INT_PTR CALLBACK PlainFillProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG)
    return FALSE;
  const auto* fill = reinterpret_cast<const PlainFill*>(lParam);
  FillPlainly(GetDlgItem(window, IDC_EDITOR_SINGLES), fill->directory->Aliases());
  FillPlainly(GetDlgItem(window, IDC_EDITOR_LISTS), fill->directory->ListNames());
  win::ListView(GetDlgItem(window, IDC_EDITOR_MEMBERS)).AddColumn(0, "x", 100);
  return TRUE;
}

HWND OpenPlainly(const std::vector<BYTE>& plainTemplate, const RecipientDirectory& directory) {
  PlainFill fill{&directory};
  return CreateDialogIndirectParamA(nullptr,
                                    reinterpret_cast<LPCDLGTEMPLATEA>(plainTemplate.data()),
                                    nullptr, &PlainFillProc, reinterpret_cast<LPARAM>(&fill));
}

void WriteListFile(const std::string& path, int singles) {
  std::string file = "//begin\r\n";
  for (int i = 0; i < singles; ++i)
    file += Format("PC%05d Platz %05d\r\n", i, i);
  file += "//end\r\n//v_begin\r\n";
  for (int i = 0; i < singles / 10; ++i)
    file += Format("Liste %05d [PC%05d,PC%05d]\r\n", i, i, i + 1);
  file += "//v_end\r\n";
  wintest::WriteTextFile(path, file);
}

void Measure(Application& app, fakes::FakeMessageBoxes& boxes,
             const std::vector<BYTE>& plainTemplate, int singles) {
  std::printf("list editor: %d single recipients, %d lists\n", singles, singles / 10);
  std::vector<double> opens, openFloors, adds, addFloors;
  for (int run = 1; run <= 5; ++run) {
    win::ListEditorDialog editor(nullptr, app, boxes, {true, true}, true);
    const double open = Time([&] { editor.CreateModeless(); });
    HWND window = editor.hwnd();
    win::ListView lists(GetDlgItem(window, IDC_EDITOR_LISTS));
    win::ListView singlesView(GetDlgItem(window, IDC_EDITOR_SINGLES));
    lists.Select(run, true);
    singlesView.Select(singles / 2 + run, true);
    const double add = Time([&] {
      SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_MEMBER_ADD, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_EDITOR_MEMBER_ADD)));
    });
    const int members = win::ListView(GetDlgItem(window, IDC_EDITOR_MEMBERS)).Count();
    editor.DestroyWindow();

    HWND plain = nullptr;
    const double openFloor = Time([&] { plain = OpenPlainly(plainTemplate, app.directory()); });
    // "Empfänger +" shows the list's members again: the floor fills that view plainly.
    win::ListView memberView(GetDlgItem(plain, IDC_EDITOR_MEMBERS));
    const double addFloor = Time([&] {
      memberView.DeleteAll();
      for (int i = 0; i < members; ++i)
        memberView.InsertRow(i, "Platz");
    });
    DestroyWindow(plain);
    std::printf("run %d: open %.1f / %.1f ms (%s), add member %.2f / %.2f ms (%s), %d members\n",
                run, open, openFloor, bench::Ratio(open, openFloor).c_str(), add, addFloor,
                bench::Ratio(add, addFloor).c_str(), members);
    opens.push_back(open);
    openFloors.push_back(openFloor);
    adds.push_back(add);
    addFloors.push_back(addFloor);
  }
  const double open = bench::Median(opens), openFloor = bench::Median(openFloors);
  const double add = bench::Median(adds), addFloor = bench::Median(addFloors);
  std::printf("median: open %.1f / %.1f ms (%s), add member %.2f / %.2f ms (%s)\n", open, openFloor,
              bench::Ratio(open, openFloor).c_str(), add, addFloor,
              bench::Ratio(add, addFloor).c_str());
}

}  // namespace

int main() {
  const std::string scratch = wintest::ScratchDir("list_editor_bench");
  win::Win32Registry registry;
  win::Win32System system;
  win::Win32FileSystem files;
  fakes::FakeMessageBoxes boxes;
  win::Win32Startup startup;
  Application app({registry, system, files, boxes, startup});
  app.settings().SetRechnerListePfad(scratch + "\\Rechner.txt");
  const std::vector<BYTE> plainTemplate = PlainEditorTemplate();
  for (int singles : kSizes) {
    WriteListFile(scratch + "\\Rechner.txt", singles);
    app.ReloadDirectory();
    // The first dialog of a process pays for loading the controls and fonts: not measured.
    DestroyWindow(OpenPlainly(plainTemplate, app.directory()));
    Measure(app, boxes, plainTemplate, singles);
  }
  return 0;
}
