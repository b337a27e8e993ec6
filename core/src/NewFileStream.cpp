#include "orvane/core/NewFileStream.h"

#include <string_view>

namespace orvane {

NewFileStream::Buffer::Buffer(NewFile& file, std::size_t bytes) : file_(file), bytes_(bytes) {
    setp(bytes_.data(), bytes_.data() + bytes_.size());
}

bool NewFileStream::Buffer::write(const char* s, std::size_t n) {
    if (failed_) return false;
    wrote_ = true;
    failed_ = !file_.write(std::string_view(s, n));
    return !failed_;
}

bool NewFileStream::Buffer::passOn() {
    const auto held = static_cast<std::size_t>(pptr() - pbase());
    if (held == 0 && wrote_) return !failed_;
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return write(bytes_.data(), held);
}

NewFileStream::Buffer::int_type NewFileStream::Buffer::overflow(int_type c) {
    if (!passOn()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize NewFileStream::Buffer::xsputn(const char* s, std::streamsize n) {
    const auto count = static_cast<std::size_t>(n);
    if (count <= static_cast<std::size_t>(epptr() - pptr())) {
        traits_type::copy(pptr(), s, count);
        pbump(static_cast<int>(n));
        return n;
    }
    // More than the buffer has room for goes out in one write after it.
    if (!passOn()) return 0;
    if (count < bytes_.size()) return xsputn(s, n);
    return write(s, count) ? n : 0;
}

int NewFileStream::Buffer::sync() {
    return passOn() ? 0 : -1;
}

NewFileStream::NewFileStream(NewFile& file, std::size_t bufferBytes)
    : std::ostream(nullptr), buffer_(file, bufferBytes) {
    rdbuf(&buffer_);
}

bool NewFileStream::finish() {
    return buffer_.passOn() && !buffer_.failed() && good();
}

}  // namespace orvane
