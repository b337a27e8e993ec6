#include "gallery/TrendModePages.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/MarketServers.h"

namespace orvane::app {

namespace {

constexpr int kFirstFileNumber = 1000;

std::string galleryFolderURL() {
    return dataServerURL("/const/trendupmode");
}

}  // namespace

int nextPageIndex(int mIndex, int allIndex) {
    return mIndex < allIndex ? mIndex + 1 : mIndex;
}

int lastPageIndex(int mIndex, int allIndex) {
    return mIndex >= 2 && mIndex <= allIndex ? mIndex - 1 : mIndex;
}

int pageFileNumber(int page) {
    return kFirstFileNumber + page;
}

int pageOfFile(const std::filesystem::path& file) {
    return leadingInt(file.stem().string()) - kFirstFileNumber;
}

std::string galleryPictureURL(int page) {
    return format("%s/%d.png", galleryFolderURL().c_str(), pageFileNumber(page));
}

std::string galleryTextURL(int page) {
    return format("%s/%d.txt", galleryFolderURL().c_str(), pageFileNumber(page));
}

std::filesystem::path localPicturePath(int page) {
    return getTrendupModePath() / format("%d.png", pageFileNumber(page));
}

std::filesystem::path localTextPath(int page) {
    return getTrendupModePath() / format("%d.txt", pageFileNumber(page));
}

std::string galleryWindowTitle(int page, int count) {
    return format("经典上涨模型 （第 %d/%d 页） ", page, count);
}

std::string galleryPageCounter(int page, int count) {
    return format("第 %d/%d 页", page, count);
}

std::string closedGalleryTitle() {
    return "经典上涨模型";
}

std::string closedGalleryCounter() {
    return format("第 %d 页", 0);
}

}  // namespace orvane::app
