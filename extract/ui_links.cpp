#include "extract/ui_links.h"

UiLinkSet& UiLinks() {
    static UiLinkSet links;
    return links;
}
