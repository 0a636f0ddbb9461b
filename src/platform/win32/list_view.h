// A thin wrapper of a report-mode list view, so dialogs need no SendMessage casts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace botenruf::win {

// Grid lines and full-row selection, as the list look settings ask.
struct ListLook {
  bool gridLines = false;
  bool fullRow = false;
};

class ListView {
 public:
  explicit ListView(HWND control = nullptr) : control_(control) {}
  HWND hwnd() const { return control_; }

  void AddColumn(int index, const std::string& title, int width);
  // The client width that remains once the vertical scroll bar shows, whether it shows yet
  // or not: columns this wide never need a horizontal scroll bar.
  int ColumnSpace() const;
  void SetLook(const ListLook& look);
  // Off while many rows change, so that the list draws once at the end.
  void SetRedraw(bool on);

  // Inserts a row with its first column; false when the list refused it.
  bool InsertRow(int index, const std::string& text);
  bool SetText(int row, int column, const std::string& text);
  std::string Text(int row, int column) const;
  int Count() const;
  void DeleteAll();

  std::vector<int> SelectedRows() const;
  int FirstSelected() const;
  // Row -1 stands for every row.
  void Select(int row, bool selected);
  void SelectAll();
  void EnsureVisible(int row);
  // The row under a point of the list's client area, or -1.
  int RowAt(POINT point) const;

 private:
  HWND control_;
};

}  // namespace botenruf::win
