#pragma once
// The view of a RecordTableModel, with the keys of a spreadsheet: Ctrl+C
// copies the selected block as tab-separated text, Ctrl+V pastes one at the
// current cell (a single value fills the selection), Ctrl+D fills down,
// Ctrl+Z and Ctrl+Y undo and redo. List cells edit with a drop-down of their
// rows. What the table refuses goes out as refused(), what a paste did as pasted().
#include <QTableView>

#include "pages/record_table_model.h"

namespace quendra {

class RecordTableView : public QTableView {
  Q_OBJECT
 public:
  explicit RecordTableView(RecordTableModel* model, QWidget* parent = nullptr);

  // Shows another table (the fleet table's columns change with its groups).
  void setTableModel(RecordTableModel* model);
  // The rectangle around the selection (the current cell when nothing is selected).
  CellBlock selectedBlock() const;
  void copySelection();
  void pasteClipboard();
  void fillDown();

 signals:
  void refused(const CellRefusal& refusal);
  void pasted(int changed, int skipped);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  RecordTableModel* model_;
};

}  // namespace quendra
