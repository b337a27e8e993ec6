#pragma once
// The trend-up model gallery's rules that need no window: paging, the
// numbering of the pages' files (page p is "1000 + p"), their addresses on
// the data server and in the data directory, and the window's texts.

#include <filesystem>
#include <string>

namespace orvane::app {

/// The next page: one up while below the count, else unchanged.
int nextPageIndex(int mIndex, int allIndex);
/// The previous page: one down from pages 2 to the count, else unchanged.
int lastPageIndex(int mIndex, int allIndex);

/// The number in the names of page p's files.
int pageFileNumber(int page);
/// The page a gallery file belongs to (its name's number − 1000).
int pageOfFile(const std::filesystem::path& file);

std::string galleryPictureURL(int page);
std::string galleryTextURL(int page);
/// The page's picture and text in the data directory's "trendupmode" folder.
std::filesystem::path localPicturePath(int page);
std::filesystem::path localTextPath(int page);

std::string galleryWindowTitle(int page, int count);
std::string galleryPageCounter(int page, int count);
/// The title and counter of the closed gallery.
std::string closedGalleryTitle();
std::string closedGalleryCounter();

}  // namespace orvane::app
