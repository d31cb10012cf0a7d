// An output stream on a file descriptor the program did not open (standard
// output and error). A reader that stops reading holds a write up only until a
// stop signal comes (see WaitWritable); a reader that went away (EPIPE) ends
// this output only: what follows is dropped, and the program goes on with its
// files. On a terminal each line goes out as it ends.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

class TFdStreamBuf : public std::streambuf {
public:
  // `lines`: each line is written as it ends (otherwise blocks of 4 KiB).
  TFdStreamBuf(int fd, bool lines);
  ~TFdStreamBuf() override;
  TFdStreamBuf(const TFdStreamBuf&) = delete;
  TFdStreamBuf& operator=(const TFdStreamBuf&) = delete;
  // Whether a write failed, which ended this output.
  bool Ended() const { return ended_; }

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  bool Flush();
  int fd_;
  bool lines_;
  bool ended_ = false;
  std::string pending_;
};

class TFdStream : public std::ostream {
public:
  TFdStream(int fd, bool lines) : std::ostream(&buf_), buf_(fd, lines) {}

private:
  TFdStreamBuf buf_;
};
