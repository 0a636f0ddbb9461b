// A thin wrapper of a report-mode list view, so dialogs need no SendMessage casts.
//
// Our lists are owner-data lists (LVS_OWNERDATA in their templates): they keep no texts of
// their own but ask their dialog for each cell they draw. A list of thousands of stations thus
// costs no more to fill or to re-sort than a list of ten, and its texts are held only once.
// The list keeps only the selection and focus, by row number.
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

// The texts an owner-data list shows: one vector per column, row for row. The vectors belong
// to the dialog and must outlive the list.
using ListColumns = std::vector<const std::vector<std::string>*>;

class ListView {
 public:
  explicit ListView(HWND control = nullptr, ListColumns columns = {})
      : control_(control), columns_(std::move(columns)) {}
  HWND hwnd() const { return control_; }

  void AddColumn(int index, const std::string& title, int width);
  // The client width that remains once the vertical scroll bar shows, whether it shows yet
  // or not: columns this wide never need a horizontal scroll bar.
  int ColumnSpace() const;
  void SetLook(const ListLook& look);

  // The texts changed as a whole (filled anew, sorted): the list shows their rows from the
  // top, none selected, as a list filled afresh does.
  void ShowAll();
  // Rows were added at the end of the texts: the list grows, keeping what the user scrolled
  // to and selected.
  void ShowAppended();
  // The texts were put in a new order (`order`: the row each row was before): the selected
  // rows and the focused one move with their texts, the focused one stays in view, and the
  // header of `column` shows the direction with an arrow until the texts are filled anew.
  void ShowSorted(const std::vector<size_t>& order, int column, bool ascending);
  // The arrow alone, for texts filled anew in a sorted order.
  void ShowSortArrow(int column, bool ascending);
  // The texts of two rows changed (an exchange of neighbours).
  void RedrawRows(int first, int second);
  // Answers the list's requests of its dialog (WM_NOTIFY): the text of a cell it draws, and
  // the row that letters typed in the list lead to. False when `header` is none of them.
  bool Answer(NMHDR* header, LRESULT& result) const;
  // Typed letters also find a row by what follows this beginning of its first column.
  void SkipWhenTyped(std::string beginning) { typedSkip_ = std::move(beginning); }

  // Rows with their first column, for lists that keep their texts themselves.
  bool InsertRow(int index, const std::string& text);
  // The text of a cell, from the dialog's texts when this wrapper knows them, else as the
  // list gives it.
  std::string Text(int row, int column) const;
  int Count() const;
  void DeleteAll();

  std::vector<int> SelectedRows() const;
  int FirstSelected() const;
  // The row a menu opened by the keyboard is about: the focused row when it is selected, else
  // the first selected one; -1 when none is selected.
  int MenuRow() const;
  // Where a row's first column stands, in screen coordinates.
  RECT RowOnScreen(int row) const;
  // Row -1 stands for every row.
  void Select(int row, bool selected);
  void SelectAll();
  void EnsureVisible(int row);
  // The row under a point of the list's client area, or -1.
  int RowAt(POINT point) const;

 private:
  int RowCount() const;
  const std::string* Cell(int row, int column) const;
  // The arrow of `column` (none when `arrow` is null).
  void SetHeaderArrow(int column, HBITMAP arrow);

  HWND control_;
  ListColumns columns_;
  std::string typedSkip_;
  int arrowColumn_ = -1;
};

}  // namespace botenruf::win
