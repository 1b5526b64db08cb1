#include "archives/file_list_ctrl.h"

#include "archives/archive_list.h"
#include "archives/naming.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

namespace {

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kScrollIntervalMs = 50;

void Warn(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, u"Error"_qs, text);
}

} // namespace

FileListCtrl::FileListCtrl(QWidget* parent)
    : QWidget(parent), model_(new QStandardItemModel(0, 2, this)),
      selection_(new QItemSelectionModel(model_, this)), details_(new QTableView),
      iconView_(new QListView), stack_(new QStackedLayout(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(iconView_)}) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setAcceptDrops(true);
        view->setDragDropMode(QAbstractItemView::DropOnly);
        view->setDropIndicatorShown(false);
        WatchViewport(view);
        stack_->addWidget(view);
    }
    // A table, not a tree: a tree lays out every row again after each insertion, and each
    // synchronous report is an insertion of its own.
    details_->setShowGrid(false);
    details_->setWordWrap(false);
    details_->setIconSize(QSize(16, 16));
    details_->verticalHeader()->hide();
    details_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    details_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);
    details_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    details_->horizontalHeader()->setHighlightSections(false);
    details_->horizontalHeader()->setSectionsClickable(false);
    details_->horizontalHeader()->setSectionsMovable(false);
    details_->horizontalHeader()->setStretchLastSection(false);
    details_->horizontalHeader()->setMinimumSectionSize(0);
    iconView_->setMovement(QListView::Static);
    iconView_->setResizeMode(QListView::Adjust);
    iconView_->setWrapping(true);
    SetViewStyle(LargeIcons);
}

void FileListCtrl::WatchViewport(QAbstractItemView* view) {
    // Drag-and-drop events go to the viewport, not to the view.
    view->viewport()->setAcceptDrops(true);
    view->viewport()->installEventFilter(this);
}

bool FileListCtrl::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
        drop->acceptProposedAction();
        // Once the drop has completed: a folder search or a message box must not keep the file
        // manager waiting for the end of its drag.
        QMetaObject::invokeMethod(
            this, [this, paths] { DropFiles(paths); }, Qt::QueuedConnection);
        return true;
    }
    case QEvent::ToolTip:
        // Rows carry no tips of their own; the list's tip stands for all of them.
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), toolTip(), this);
        return true;
    case QEvent::ContextMenu:
        emit ContextMenuRequested(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease:
        // After the view has moved the selection.
        QMetaObject::invokeMethod(this, &FileListCtrl::Clicked, Qt::QueuedConnection);
        return false;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void FileListCtrl::DropFiles(const QStringList& paths) {
    if (!acceptsItems_) {
        Warn(window(), u"Cannot drop files here. Click the button with the icon showing \nan "
                       u"arrow and 3 windows to goto the main to drop files."_qs);
        return;
    }
    bool reminderShown = false;
    bool nonArchiveShown = false;
    for (const QString& dropped : paths) {
        const QString path = dropped.trimmed();
        if (VolumeExtensions().contains(ExtensionOf(path).toLower())) {
            if (!reminderShown) {
                Warn(window(), u"Remember, for multi-volume archives you only\nneed to drop the "
                               u"first file in the multi-volume set."_qs);
                reminderShown = true;
            }
        } else if (!nonArchiveShown && !IsFolder(path) && ArchiveKindOf(path) == NotArchive) {
            Warn(window(), u"One or more of the files you dropped is not an archive.\nPlease "
                           u"drop a ZIP, ACE, or RAR file for extraction."_qs);
            nonArchiveShown = true;
        }
        AddToArchiveList(path, *this);
    }
}

void FileListCtrl::SetViewStyle(int style) {
    viewStyle_ = style >= LargeIcons && style <= List ? style : LargeIcons;
    if (viewStyle_ == Details) {
        ShowOnly(details_);
        return;
    }
    const bool large = viewStyle_ == LargeIcons;
    iconView_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    iconView_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    iconView_->setFlow(viewStyle_ == List ? QListView::TopToBottom : QListView::LeftToRight);
    iconView_->setWrapping(true);
    iconView_->setUniformItemSizes(!large);
    iconView_->setWordWrap(large);
    iconView_->setGridSize(large ? QSize(76, 58) : QSize());
    iconView_->setSpacing(large ? 0 : 2);
    iconView_->setMovement(QListView::Static);
    // A static movement also stops the viewport taking drops.
    iconView_->viewport()->setAcceptDrops(true);
    ShowOnly(iconView_);
}

void FileListCtrl::ShowOnly(QAbstractItemView* view) {
    // Only the shown view holds the rows; a hidden one would lay them out after every insertion.
    QAbstractItemView* hidden = view == details_ ? static_cast<QAbstractItemView*>(iconView_)
                                                 : static_cast<QAbstractItemView*>(details_);
    const auto setModel = [this](QAbstractItemView* target, QStandardItemModel* model) {
        target->setModel(model);
        QItemSelectionModel* own = target->selectionModel();
        if (model)
            target->setSelectionModel(selection_);
        if (own != selection_)
            own->deleteLater();
    };
    if (hidden->model() == model_)
        setModel(hidden, nullptr);
    if (view->model() != model_) {
        setModel(view, model_);
        for (int column = 0; column < model_->columnCount(); ++column)
            details_->setColumnWidth(column, columnWidths_.value(column));
    }
    stack_->setCurrentWidget(view);
}

void FileListCtrl::InsertColumn(int column, const QString& heading, int width) {
    if (model_->columnCount() <= column)
        model_->setColumnCount(column + 1);
    model_->setHeaderData(column, Qt::Horizontal, heading);
    SetColumnWidth(column, width);
}

int FileListCtrl::ColumnWidth(int column) const {
    return columnWidths_.value(column);
}

void FileListCtrl::SetColumnWidth(int column, int width) {
    if (columnWidths_.size() <= column)
        columnWidths_.resize(column + 1);
    columnWidths_[column] = static_cast<std::uint16_t>(width);
    if (details_->model())
        details_->setColumnWidth(column, columnWidths_[column]);
}

void FileListCtrl::SetColours(const QColor& background, const QColor& text) {
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(iconView_)}) {
        QPalette colours = view->palette();
        colours.setColor(QPalette::Base, background);
        colours.setColor(QPalette::Window, background);
        colours.setColor(QPalette::Text, text);
        view->setPalette(colours);
    }
}

void FileListCtrl::SetMultipleSelection(bool on) {
    const auto mode =
        on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    details_->setSelectionMode(mode);
    iconView_->setSelectionMode(mode);
}

int FileListCtrl::InsertItem(int row, const QString& text, int image) {
    const int at = std::clamp(row, 0, ItemCount());
    auto* name = new QStandardItem(icons_.Icon(image), text);
    name->setData(image, kImageRole);
    QList<QStandardItem*> cells{name};
    for (int column = 1; column < model_->columnCount(); ++column)
        cells << new QStandardItem;
    model_->insertRow(at, cells);
    ScheduleScrollToLastRow();
    return at;
}

void FileListCtrl::ScheduleScrollToLastRow() {
    // Every synchronous report is a turn of the event loop of its own. Repainting and scrolling
    // after each would cap a run at a few hundred rows a second, so both wait for a short
    // interval and then happen once for all rows added meanwhile.
    if (scrollPending_)
        return;
    scrollPending_ = true;
    QPointer<QAbstractItemView> view = ActiveView();
    view->setUpdatesEnabled(false);
    QTimer::singleShot(kScrollIntervalMs, this, [this, view] {
        scrollPending_ = false;
        if (view)
            view->setUpdatesEnabled(true);
        if (ItemCount() > 0)
            ActiveView()->scrollTo(model_->index(ItemCount() - 1, 0),
                                   QAbstractItemView::EnsureVisible);
    });
}

void FileListCtrl::SetItemText(int row, int column, const QString& text) {
    if (QStandardItem* cell = model_->item(row, column))
        cell->setText(text);
}

QString FileListCtrl::ItemText(int row, int column) const {
    const QStandardItem* cell = model_->item(row, column);
    return cell ? cell->text() : QString();
}

int FileListCtrl::ItemImage(int row) const {
    const QStandardItem* cell = model_->item(row, 0);
    return cell ? cell->data(kImageRole).toInt() : -1;
}

int FileListCtrl::ItemCount() const {
    return model_->rowCount();
}

void FileListCtrl::DeleteItem(int row) {
    model_->removeRow(row);
}

void FileListCtrl::DeleteAllItems() {
    model_->removeRows(0, model_->rowCount());
}

QList<int> FileListCtrl::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selection_->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListCtrl::SetSelected(int row, bool selected) {
    selection_->select(model_->index(row, 0),
                       (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                           QItemSelectionModel::Rows);
}

int FileListCtrl::SelectionMark() const {
    const QModelIndex current = selection_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QAbstractItemView* FileListCtrl::ActiveView() const {
    return static_cast<QAbstractItemView*>(stack_->currentWidget());
}
