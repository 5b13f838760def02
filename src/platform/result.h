#pragma once
#include <string>
#include <utility>
#include <variant>

namespace platform {

// What kind of failure a reader or writer met: enough for its caller to decide what to do
// (skip a missing file, warn once, stop). The reason says it in words for a message.
enum class ErrorKind {
    Missing,   // no such file or folder
    NotAFile,  // a directory, a named pipe, a device: never waited on
    TooLarge,  // longer than the reader's limit
    Short,     // ends before the bytes asked for
    Invalid,   // read, but not what it should hold
    Failed,    // refused or broken: permissions, an I/O error, a full disk, no memory
};

struct Error {
    ErrorKind kind = ErrorKind::Failed;
    std::string reason;  // "is a directory", "image/data.bmp: not a BMP file", ...
};

inline Error fail(ErrorKind kind, std::string reason) {
    return {kind, std::move(reason)};
}

// A value, or the error that kept it from being made: the one way readers and writers report.
// (std::expected does this from C++23; the browser's compiler does not have it yet.)
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& operator*() & { return std::get<0>(v_); }
    const T& operator*() const& { return std::get<0>(v_); }
    T&& operator*() && { return std::get<0>(std::move(v_)); }
    T* operator->() { return &std::get<0>(v_); }
    const T* operator->() const { return &std::get<0>(v_); }
    // Only for a failed result.
    const Error& error() const { return std::get<1>(v_); }

  private:
    std::variant<T, Error> v_;
};

// Done, or the error that stopped it.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool failed_ = false;
};

}  // namespace platform
