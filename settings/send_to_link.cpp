#include "settings/send_to_link.h"

#include "platform/shell_link.h"
#include "settings/user_message.h"

namespace {

void ShowLinkMessage(const QString& text) {
    ShowUserMessage(u"Tamblewick"_qs, text);
}

} // namespace

int CreateShellLink(const QString& target, const QString& linkName, const QString& description) {
    std::optional<platform::shell::SendToLink> link = platform::shell::SendToLink::Create();
    if (!link) {
        ShowLinkMessage(u"Could not create shell link!"_qs);
        return platform::shell::kLinkNotSaved;
    }
    if (!link->SetPath(target))
        ShowLinkMessage(u"SetPath failed!"_qs);
    if (!link->SetDescription(description))
        ShowLinkMessage(u"SetDescription failed!"_qs);
    return link->Save(linkName);
}

void RemoveShellLink(const QString& linkName) {
    platform::shell::RemoveSendToLink(linkName);
}
