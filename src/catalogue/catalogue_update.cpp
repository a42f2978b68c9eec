#include "catalogue/catalogue_update.h"

#include "app/chores.h"
#include "app/controls.h"
#include "app/globals.h"
#include "app/workers.h"
#include "catalogue/duplicate_removal.h"
#include "text/extract_all.h"
#include "text/text_between.h"
#include "viewer/page_loader.h"
#include "web/fetch.h"
#include "web/http_request.h"
#include "web/site.h"

namespace {

constexpr int kListPages = 7;
constexpr char kListPagePath[] = "/nvshengzhenrenxiu/list_60_";
constexpr char kLinkRegionStart[] = "<a class=\"img\" href=\"";
constexpr char kLinkRegionEnd[] = "<div class=\"pagination\"><a>首页</a>";
constexpr char kPictureRegionStart[] = "<div style=\"text-align: center\">";
constexpr char kPictureRegionEnd[] = "\t\t\t\t\t\t</div>";
constexpr char kSkippedLink[] = ".php";

// The region from `start` (kept or dropped) up to `end`, or to the page's end without it;
// empty without `start`.
Text Region(const Text& page, const Text& start, const Text& end, bool keepStart) {
    int position = 0;
    Text second;
    return CutSection(page, position, start, second, false, end, true, keepStart);
}

void AddDetailPagePictures(const Text& link) {
    Text page = ToText(FetchUrl(SiteBase() + link));
    Text region = Region(page, kPictureRegionStart, kPictureRegionEnd, false);
    ExtractAllBetween(region, "src=\"", "\"", PicturePaths);
    for (const Text& path : PicturePaths) {
        // Only the update changes the list meanwhile, so the new item's index gives the count
        // without one more call to the main thread per path.
        int index = CatalogueAdd(path);
        int count = index >= 0 ? index + 1 : CatalogueCount();
        SetStatusText(UpdateProgressText(count, ContactAccount()));
    }
}

// The boxes are filled once, by the first list page after which box 1 gets a picture. The
// picture variable lives for the whole update, so a box that fails repeats the last good one.
void FillBoxesUntilTheFirstPicture(Bytes& picture) {
    if (!GetPicture(kPictureBox1).empty()) return;
    for (int box = kPictureBox1; box <= kPictureBox6; ++box) LoadPictureBox(box, picture);
}

}  // namespace

Text UpdateProgressText(int count, const Text& account) {
    return "正在更新----已更新" + ToText(count) + "张。 QQ" + account;
}

void OnUpdateClicked() {
    StartWorker(UpdateCatalogue);
    SetUpdateButtonDisabled(true);
    ScheduleMemoryTrim(MainWindowHandle());
}

void UpdateCatalogue() {
    SetStatusText(kUpdateStartText);
    Bytes picture;
    for (int n = 1; n <= kListPages; ++n) {
        Text page = ToText(HttpRequest(SiteBase() + kListPagePath + ToText(n) + ".html"));
        Text region = Region(page, kLinkRegionStart, kLinkRegionEnd, true);
        ExtractAllBetween(region, "href=\"", "\"", PageLinks);
        for (const Text& link : PageLinks) {
            // Letter case counts: ".PHP" links are followed.
            if (FindText(link, kSkippedLink) != -1) continue;
            AddDetailPagePictures(link);
        }
        FillBoxesUntilTheFirstPicture(picture);
    }
    SetStatusText(kUpdateDoneText);
    StartWorker(RemoveCatalogueDuplicates);
    ScheduleMemoryTrim(MainWindowHandle());
}
