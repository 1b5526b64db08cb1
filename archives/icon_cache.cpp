#include "archives/icon_cache.h"

#include "platform/shell.h"
#include "res/resource_icons.h"
#include "res/resource_ids.h"

namespace {

constexpr int kSmall = 16;
constexpr int kLarge = 32;

} // namespace

void IconCache::ResetIcons() {
    names_.clear();
    small_.clear();
    large_.clear();
    icons_.clear();
    QIcon generic = platform::shell::GenericDocumentIcon();
    if (generic.isNull())
        generic = res::Icon(res::IDI_DOCUMENT);
    Append(u"*"_qs, generic);
    Append(u"OK"_qs, res::Icon(res::IDI_HISTORY_OK));
    Append(u"ERR"_qs, res::Icon(res::IDI_HISTORY_ERROR));
    Append(u"PROC"_qs, res::Icon(res::IDI_HISTORY_PROCESSED));
    Append(u"DIRCREATE"_qs, res::Icon(res::IDI_HISTORY_DIRCREATE));
}

int IconCache::IconIndexFor(const QString& extension) {
    const QString name = extension.toLower();
    const qsizetype known = names_.indexOf(name);
    if (known >= 0)
        return static_cast<int>(known);
    QIcon picture = platform::shell::IconForExtension(name);
    if (picture.isNull() && !icons_.isEmpty())
        picture = icons_.first();
    return Append(name, picture);
}

QIcon IconCache::Icon(int index) const {
    return index >= 0 && index < icons_.size() ? icons_.at(index) : QIcon();
}

int IconCache::Append(const QString& name, const QIcon& picture) {
    QPixmap smallPicture = picture.pixmap(kSmall, kSmall);
    QPixmap largePicture = picture.pixmap(kLarge, kLarge);
    QIcon both;
    both.addPixmap(smallPicture);
    both.addPixmap(largePicture);
    names_ << name;
    small_ << smallPicture;
    large_ << largePicture;
    icons_ << both;
    return static_cast<int>(names_.size() - 1);
}
