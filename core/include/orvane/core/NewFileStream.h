#pragma once
// An output stream into a file of the writing layer, for a writer that makes
// a file too large to be gathered in memory first: what it writes is passed
// on in large writes, and the first failed write stops the stream.

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <vector>

#include "orvane/core/FileWrites.h"

namespace orvane {

class NewFileStream : public std::ostream {
  public:
    /// Writes into `file`, which must outlive the stream.
    explicit NewFileStream(NewFile& file, std::size_t bufferBytes = std::size_t{1} << 20);
    NewFileStream(const NewFileStream&) = delete;
    NewFileStream& operator=(const NewFileStream&) = delete;

    /// Passes on what is buffered; false when a write failed (the layer keeps
    /// the failure). A stream that was given nothing still makes the file's
    /// write, so that a file counts the same operations however much it holds.
    bool finish();

  private:
    class Buffer : public std::streambuf {
      public:
        Buffer(NewFile& file, std::size_t bytes);
        bool passOn();
        bool failed() const { return failed_; }

      protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;
        int sync() override;

      private:
        bool write(const char* s, std::size_t n);
        NewFile& file_;
        std::vector<char> bytes_;
        bool failed_ = false;
        bool wrote_ = false;
    };
    Buffer buffer_;
};

}  // namespace orvane
