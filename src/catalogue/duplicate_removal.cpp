#include "catalogue/duplicate_removal.h"

#include "app/controls.h"
#include "text/unique.h"
#include "web/site.h"

Text DuplicatesRemovedText(int count, const Text& account) {
    return "更新已完成----共更新了" + ToText(count) + "张。  QQ" + account;
}

void RemoveCatalogueDuplicates() {
    const TextArray items = CatalogueItems();
    Text joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        joined += items[i];
        if (i + 1 < items.size()) joined += kCatalogueSeparator;
    }
    joined = JoinUnique(joined, kCatalogueSeparator);
    CatalogueClear();
    for (const Text& item : SplitText(joined, kCatalogueSeparator)) CatalogueAdd(item);
    SetStatusText(DuplicatesRemovedText(CatalogueCount(), ContactAccount()));
}
