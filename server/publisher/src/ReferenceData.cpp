#include "orvane/publisher/ReferenceData.h"

#include <minizip/zip.h>
#include <sys/mman.h>
#include <unistd.h>

#include <map>

#include "orvane/core/FileWrites.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/publisher/PinyinInitials.h"

namespace orvane::server {

namespace {

// Entry names are UTF-8 (general purpose flag bit 11).
constexpr uLong kUtf8Names = 1u << 11;

class ZipWriter {
  public:
    explicit ZipWriter(const std::filesystem::path& path)
        : zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}
    ~ZipWriter() {
        if (zip_) zipClose(zip_, nullptr);
    }
    bool ok() const { return zip_ != nullptr; }
    bool add(const std::string& name, std::string_view bytes) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip4(zip_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                 Z_DEFAULT_STRATEGY, nullptr, 0, 0, kUtf8Names) != ZIP_OK)
            return false;
        const bool written =
            zipWriteInFileInZip(zip_, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK;
        return zipCloseFileInZip(zip_) == ZIP_OK && written;
    }
    bool close() {
        const bool closed = zipClose(zip_, nullptr) == ZIP_OK;
        zip_ = nullptr;
        return closed;
    }

  private:
    zipFile zip_;
};

}  // namespace

std::string fileNameOf(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) c = '_';
    if (name.empty() || name == "." || name == "..") name = "_" + name;
    return name;
}

std::string codeTableText(const std::vector<ListedStock>& stocks) {
    std::string out;
    for (const ListedStock& s : stocks)
        out += s.code + "\t" + s.name + "\t" +
               (s.pinyin.empty() ? pinyinInitials(s.name) : s.pinyin) + "\n";
    return out;
}

std::string updateConfigText(const LocalDateTime& version) {
    return "constdata=" + formatDateTime(version);
}

bool writeReferenceArchive(const std::filesystem::path& zipPath,
                           const std::vector<ListedStock>& stocks,
                           const std::vector<CompositeIndex>& composites, std::string& error) {
    auto codeTable = utf8ToUtf16(codeTableText(stocks));
    if (!codeTable) {
        error = "a stock name is not valid UTF-8";
        return false;
    }
    std::map<std::string, std::string> groups;  // group file name -> codes
    for (const ListedStock& s : stocks)
        if (!s.industry.empty()) groups[fileNameOf(s.industry)] += s.code + "\n";

    // The archive is made in memory and written through the file layer, as
    // every file of the tree is.
    const int memory = ::memfd_create("constdata.zip", MFD_CLOEXEC);
    ZipWriter zip("/proc/self/fd/" + std::to_string(memory));
    if (memory < 0 || !zip.ok()) {
        if (memory >= 0) ::close(memory);
        error = "cannot make the reference archive in memory";
        return false;
    }
    bool ok = zip.add("constdata/stockcode/code.txt", *codeTable);
    for (const auto& [name, codes] : groups)
        ok = ok && zip.add("constdata/plate/" + name + ".txt", codes);
    for (const CompositeIndex& c : composites) {
        std::string members;
        for (const std::string& m : c.members) members += m + "\n";
        ok = ok && zip.add("constdata/composit/" + fileNameOf(c.code + c.name) + ".txt", members);
    }
    ok = zip.close() && ok;
    std::string bytes;
    char buffer[1 << 16];
    for (off_t at = 0; ok;) {
        const ssize_t n = ::pread(memory, buffer, sizeof buffer, at);
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
    ::close(memory);
    if (!ok) {
        error = "cannot make the reference archive in memory";
        return false;
    }
    if (!writeNewFile(zipPath, bytes)) {
        error = lastWriteFailureText("cannot write " + zipPath.string());
        return false;
    }
    return true;
}

}  // namespace orvane::server
