#include "streams.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <streambuf>
#include <system_error>

#include "console.h"

namespace {

// Standard output, written in blocks. Once a write has failed, nothing more is
// written, and the reason is kept.
class OutputBuffer final : public std::streambuf {
 public:
  OutputBuffer() {
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  int error() const {
    return error_;
  }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) {
      return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      sputc(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
  }

  // Writes what the buffer holds, in as many writes as the console takes.
  int sync() override {
    for (const char* data = pbase(); error_ == 0 && data != pptr();) {
      const int written = write_output(data, static_cast<int>(pptr() - data));
      if (written > 0) {
        data += written;
      } else {
        error_ = written < 0 ? errno : EIO;
      }
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0 ? 0 : -1;
  }

 private:
  char buffer_[4096];
  int error_ = 0;
};

// Standard input, read in blocks. Before it asks the system for more, and so
// may wait, everything written is put on the screen; standard output is
// flushed then and not before each read. It ends after a read error, whose
// reason is kept, and once output can no longer be written: then no one reads
// the questions.
class InputBuffer final : public std::streambuf {
 public:
  explicit InputBuffer(OutputBuffer& output) : output_(output) {}
  int error() const {
    return error_;
  }

 protected:
  int_type underflow() override {
    if (output_.pubsync() != 0 || error_ != 0) {
      return traits_type::eof();
    }
    const int count = read_input(buffer_, sizeof buffer_);
    if (count < 0) {
      error_ = errno;
    }
    if (count <= 0) {
      return traits_type::eof();
    }
    setg(buffer_, buffer_, buffer_ + count);
    return traits_type::to_int_type(*gptr());
  }

 private:
  OutputBuffer& output_;
  char buffer_[4096];
  int error_ = 0;
};

OutputBuffer output;
InputBuffer input(output);
// The buffers the streams had before, given back when the program is done
// with them, before its own buffers go at exit.
std::streambuf* previous_output = nullptr;
std::streambuf* previous_input = nullptr;

void report(const char* what, int error) {
  if (error != 0) {
    std::fprintf(stderr, "tensort: cannot %s: %s\n", what,
                 std::generic_category().message(error).c_str());
  }
}

}  // namespace

void open_streams() {
  previous_output = std::cout.rdbuf(&output);
  previous_input = std::cin.rdbuf(&input);
  // The input's buffer flushes the output when it must; std::cin need not
  // flush it before every read.
  std::cin.tie(nullptr);
}

int close_streams() {
  std::cout.flush();
  std::cout.rdbuf(previous_output);
  std::cin.rdbuf(previous_input);
  report("write to standard output", output.error());
  report("read standard input", input.error());
  return output.error() != 0 || input.error() != 0 ? 1 : 0;
}
