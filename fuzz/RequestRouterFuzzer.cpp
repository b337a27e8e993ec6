// libFuzzer harness: request paths and quote lists from the network never
// reach a file outside the tree, and every answer is one the server means.
// Input: the decoded path, optionally followed by "\n" and a list parameter.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "orvane/httpserver/RequestRouter.h"
#include "orvane/httpserver/ServeOptions.h"

namespace fs = std::filesystem;
using namespace orvane::server;

namespace {

constexpr std::string_view kSecret = "OUTSIDE-THE-TREE";

struct FuzzTree {
    fs::path root;
    fs::path tree;
    FuzzTree() {
        char pattern[] = "/tmp/orvane-route-fuzz-XXXXXX";
        root = ::mkdtemp(pattern);
        tree = root / "tree";
        fs::create_directories(tree / "const/hisdata/sinadata");
        std::ofstream(root / "secret.txt") << kSecret;
        std::ofstream(tree / "const/hisdata/sinadata/600000.txt") << "var hq_str_sh600000=\"A\";\n";
        std::ofstream(tree / "const/a.txt") << "inside";
        fs::create_symlink(root / "secret.txt", tree / "const/leak.txt");
        fs::create_directory_symlink(root, tree / "const/up");
    }
    ~FuzzTree() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzTree fuzzTree;
    static const auto tree = TreeFiles::open(fuzzTree.tree);
    static const RequestRouter router(*tree, "/orvane");

    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view path = input.substr(0, input.find('\n'));
    std::optional<std::string> list;
    if (path.size() < input.size()) list = std::string(input.substr(path.size() + 1));

    TreeLookup found = tree->lookup(path);
    if (found.status == TreeLookupStatus::Found) {
        const std::string inside = tree->root().string() + "/";
        if (found.file.string().compare(0, inside.size(), inside) != 0) abort();
    }

    Reply reply = router.route("GET", path, list);
    if (reply.body.find(kSecret) != std::string::npos) abort();
    if (reply.status != 200 && reply.status != 400 && reply.status != 404 && reply.status != 500)
        abort();

    if (auto base = normalizeBasePath(input)) {
        if (base->find('%') != std::string::npos) abort();
        for (std::string_view rest = *base; !rest.empty();) {
            rest.remove_prefix(1);  // the '/' in front of each segment
            std::string_view segment = rest.substr(0, rest.find('/'));
            if (segment.empty() || segment == "." || segment == "..") abort();
            rest.remove_prefix(segment.size());
        }
    }
    return 0;
}
