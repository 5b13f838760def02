#pragma once
#include <optional>
#include <string>

#include "platform/result.h"

// The reason a result failed, or empty when it holds a value: for assertion messages.
template <class T>
std::string why_not(const platform::Result<T>& r) {
    return r ? std::string() : r.error().reason;
}

// The kind of error, or nothing when the result holds a value: for tables of cases.
template <class T>
std::optional<platform::ErrorKind> error_kind(const platform::Result<T>& r) {
    return r ? std::nullopt : std::optional<platform::ErrorKind>(r.error().kind);
}
