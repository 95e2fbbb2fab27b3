// Why a read or a write did not happen, and the result that carries either
// the value or that reason. Every reader and writer of the program returns a
// Result; the caller tests it before it takes the value.
#pragma once

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <variant>

enum class FailureKind {
    FileUnreadable,    // missing, a folder, locked, unreadable
    FileTooLarge,      // a parameter file over 64 MB
    NotWellFormed,     // detail: the XML parser's message
    UnknownEncoding,   // detail: the declared encoding
    NestedTooDeep,     // elements nested deeper than the loader takes
    ExternalEntity,    // an entity whose text lies outside the file
    NumberEmpty,       // detail: the element's name
    NotANumber,        // detail: the element's name
    NumberOutOfRange,  // detail: the element's name
    SizeRefused,       // detail: "x × y"
    WriteFailed,       // detail: the system's or the library's reason
    Busy,              // another process kept saving the same pair
};

struct Failure {
    FailureKind kind = FailureKind::FileUnreadable;
    std::string file;  // the path of the file concerned
    int line = 0;      // 1-based; 0 where no place applies
    int column = 0;    // 1-based, in characters of the file as stored
    std::string detail;
};

// The same failure, said of `file`: the path under which the caller knows
// the file that was read or written.
inline Failure InFile(Failure failure, std::string file) {
    failure.file = std::move(file);
    return failure;
}

// The failure of the system call that just failed, with the system's reason
// (errno) as its detail.
inline Failure SystemFailure(FailureKind kind, std::string file) {
    return {kind, std::move(file), 0, 0, std::strerror(errno)};
}

// Either a value or the Failure that kept it from being made.
template <typename Value>
class [[nodiscard]] Result {
  public:
    Result(Value value) : outcome(std::move(value)) {}
    Result(Failure failure) : outcome(std::move(failure)) {}

    bool ok() const { return outcome.index() == 0; }
    explicit operator bool() const { return ok(); }
    Value& value() { return std::get<Value>(outcome); }
    const Value& value() const { return std::get<Value>(outcome); }
    const Failure& failure() const { return std::get<Failure>(outcome); }

  private:
    std::variant<Value, Failure> outcome;
};

// A result without a value: done, or the Failure.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : outcome(std::move(failure)) {}

    bool ok() const { return outcome.index() == 0; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return std::get<Failure>(outcome); }

  private:
    std::variant<std::monostate, Failure> outcome;
};

// Done where the system call succeeded, else its failure with the system's
// reason.
inline Result<void> SystemResult(bool succeeded, FailureKind kind, std::string file) {
    if (succeeded) return {};
    return SystemFailure(kind, std::move(file));
}
