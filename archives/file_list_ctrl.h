#pragma once

#include "archives/icon_cache.h"

#include <QColor>
#include <QWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QStandardItemModel;
class QTableView;

// The list control behind the archive list, the history list and the mask list: rows of texts
// with an icon from the list's own IconCache, shown in one of four views, taking files dropped
// from the file manager.
class FileListCtrl : public QWidget {
    Q_OBJECT
public:
    enum ViewStyle { LargeIcons = 0, Details = 1, SmallIcons = 2, List = 3 };

    explicit FileListCtrl(QWidget* parent = nullptr);

    bool Recording() const { return recording_; }
    void SetRecording(bool on) { recording_ = on; }
    bool AcceptsItems() const { return acceptsItems_; }
    void SetAcceptsItems(bool on) { acceptsItems_ = on; }

    // Values outside 0 to 3 show large icons.
    void SetViewStyle(int style);
    int ViewStyle() const { return viewStyle_; }

    void InsertColumn(int column, const QString& heading, int width);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    void SetColours(const QColor& background, const QColor& text);
    void SetMultipleSelection(bool on);

    // Inserts a row (an index past the end appends) and returns its index.
    int InsertItem(int row, const QString& text, int image);
    void SetItemText(int row, int column, const QString& text);
    QString ItemText(int row, int column) const;
    int ItemImage(int row) const;
    int ItemCount() const;
    void DeleteItem(int row);
    void DeleteAllItems();

    QList<int> SelectedRows() const; // ascending
    void SetSelected(int row, bool selected);
    int SelectionMark() const; // the focused row, -1 for none

    IconCache& Icons() { return icons_; }
    QAbstractItemView* ActiveView() const;
    QTableView* DetailsView() const { return details_; }

    // What the file manager dropped, in its order: the refusal, the reminder about later
    // volumes and the note about non-archives come at most once each, then every path is offered
    // to AddToArchiveList.
    void DropFiles(const QStringList& paths);

signals:
    void ContextMenuRequested(const QPoint& globalPosition);
    void Clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchViewport(QAbstractItemView* view);
    void ScheduleScrollToLastRow();
    void ShowOnly(QAbstractItemView* view);

    bool recording_ = true;
    bool acceptsItems_ = true;
    int viewStyle_ = LargeIcons;
    bool scrollPending_ = false;
    QList<int> columnWidths_;
    IconCache icons_;
    QStandardItemModel* model_;
    QItemSelectionModel* selection_;
    QTableView* details_;
    QListView* iconView_;
    QStackedLayout* stack_;
};
