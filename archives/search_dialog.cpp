#include "archives/search_dialog.h"

#include "archives/folder_walk.h"
#include "extract/reporting.h"
#include "platform/dialog_units.h"
#include "platform/ui_thread.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <chrono>

std::atomic<bool> SearchStop{false};

namespace {

constexpr int kPlacedWidth = 300;
constexpr int kNarrowMargin = 10;
constexpr int kTopOffset = 70;
constexpr int kPlacedHeight = 80;

template <typename Control> Control* Placed(Control* control, int id, const QRect& units) {
    control->setObjectName(QString::number(id));
    control->setGeometry(platform::DialogUnitsToPixels(units));
    return control;
}

} // namespace

QString SearchProgressText(const QString& shownFolder) {
    const QString shown = shownFolder.size() >= 31
                              ? shownFolder.left(3) + u"..."_qs + shownFolder.right(30)
                              : shownFolder;
    return u"Searching for archives in :\n"_qs + shown;
}

QRect SearchDialogPlacement(const QRect& owner, int currentWidth) {
    if (owner.width() >= kPlacedWidth)
        return {owner.left() + (owner.width() - currentWidth) / 2, owner.top() + kTopOffset,
                kPlacedWidth, kPlacedHeight};
    return {owner.left() + kNarrowMargin, owner.top() + kTopOffset, owner.width() - kNarrowMargin,
            kPlacedHeight};
}

SearchDialog::SearchDialog(QWidget* owner, QString folder)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint), folder_(std::move(folder)) {
    setFont(platform::DialogFont());
    resize(platform::DialogUnitsToPixels(QRect(0, 0, 192, 43)).size());
    progress_ = Placed(new QLabel(u"Started In:"_qs, this), IDC_PROGRESS, QRect(27, 4, 160, 23));
    // A folder name is shown as it is, never read as markup.
    progress_->setTextFormat(Qt::PlainText);
    progress_->setWordWrap(true);
    progress_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* icon = Placed(new QLabel(this), -1, QRect(3, 4, 20, 20));
    const int side = std::min(icon->width(), icon->height());
    icon->setPixmap(res::Icon(res::IDI_SEARCHING).pixmap(side, side));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* stop = Placed(new QPushButton(u"Stop"_qs, this), IDC_STOP, QRect(81, 27, 33, 14));
    stop->setDefault(true);
    connect(stop, &QPushButton::clicked, this, [] { SearchStop = true; });
}

SearchDialog::~SearchDialog() {
    if (!thread_.joinable())
        return;
    // The modal loop may have been ended from outside while the walk goes on; its thread may
    // then be waiting for this one, so it is served until it has finished.
    if (!endedBySearch_)
        SearchStop = true;
    while (!finished_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    thread_.join();
}

void SearchDialog::reject() {
    SearchStop = true;
}

void SearchDialog::showEvent(QShowEvent* event) {
    if (QWidget* owner = parentWidget()) {
        const QRect placed =
            SearchDialogPlacement(owner->window()->frameGeometry(), frameGeometry().width());
        // The figures are for the window with its frame, as far as the frame is known yet.
        move(placed.topLeft());
        resize(placed.size() - (frameGeometry().size() - size()));
    }
    SearchStop = false;
    if (!thread_.joinable())
        thread_ = std::thread([this] { Search(); });
    QDialog::showEvent(event);
}

void SearchDialog::Search() {
    const FolderWalkHooks hooks{
        [this](const QString& shownFolder) {
            platform::RunOnUiThread([&] { progress_->setText(SearchProgressText(shownFolder)); });
        },
        [](const QString& archivePath) { ReportFoundArchive(archivePath); }};
    WalkFolderForArchives(folder_, hooks, SearchStop);
    platform::RunOnUiThread([this] {
        endedBySearch_ = true;
        done(0);
    });
    SearchStop = false;
    finished_ = true;
}
