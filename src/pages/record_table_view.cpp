#include "pages/record_table_view.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace quendra {
namespace {

// A list cell edits with a drop-down of its rows; every other cell with the
// usual line edit.
class ChoiceDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QStringList choices = index.data(RecordTableModel::ChoicesRole).toStringList();
    if (choices.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QComboBox(parent);
    box->addItems(choices);
    box->setMaxVisibleItems(20);
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor))
      box->setCurrentIndex(static_cast<int>(
          index.data(RecordTableModel::ChoicesRole).toStringList().indexOf(index.data(Qt::EditRole).toString())));
    else
      QStyledItemDelegate::setEditorData(editor, index);
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    // A row number, not the text: two rows of a list may read alike.
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      if (box->currentIndex() >= 0) model->setData(index, QString::number(box->currentIndex()), Qt::EditRole);
    } else {
      QStyledItemDelegate::setModelData(editor, model, index);
    }
  }
};

}  // namespace

RecordTableView::RecordTableView(RecordTableModel* model, QWidget* parent) : QTableView(parent), model_(nullptr) {
  setTableModel(model);
  setItemDelegate(new ChoiceDelegate(this));
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  horizontalHeader()->setDefaultSectionSize(96);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void RecordTableView::setTableModel(RecordTableModel* model) {
  if (model_) disconnect(model_, &RecordTableModel::refused, this, &RecordTableView::refused);
  model_ = model;
  setModel(model);
  connect(model, &RecordTableModel::refused, this, &RecordTableView::refused);
}

CellBlock RecordTableView::selectedBlock() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) {
    const QModelIndex at = currentIndex().isValid() ? currentIndex() : model_->index(0, 0);
    return {at.row(), at.column(), at.row(), at.column()};
  }
  CellBlock b{model_->rowCount(), model_->columnCount(), -1, -1};
  for (const QItemSelectionRange& r : selection) {
    b.top = std::min(b.top, r.top());
    b.left = std::min(b.left, r.left());
    b.bottom = std::max(b.bottom, r.bottom());
    b.right = std::max(b.right, r.right());
  }
  return b;
}

void RecordTableView::copySelection() { QApplication::clipboard()->setText(model_->copyBlock(selectedBlock())); }

void RecordTableView::pasteClipboard() {
  int changed = 0, skipped = 0;
  if (const auto refusal = model_->paste(selectedBlock(), QApplication::clipboard()->text(), &changed, &skipped))
    emit refused(*refusal);
  else
    emit pasted(changed, skipped);
}

void RecordTableView::fillDown() { model_->fillDown(selectedBlock()); }

void RecordTableView::keyPressEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState) {
    if (event->matches(QKeySequence::Copy)) return copySelection();
    if (event->matches(QKeySequence::Paste)) return pasteClipboard();
    if (event->matches(QKeySequence::Undo)) return model_->undoStack().undo();
    if (event->matches(QKeySequence::Redo)) return model_->undoStack().redo();
    if (event->key() == Qt::Key_D && event->modifiers() == Qt::ControlModifier) return fillDown();
  }
  QTableView::keyPressEvent(event);
}

}  // namespace quendra
