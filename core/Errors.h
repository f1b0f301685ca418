#pragma once
#include <stdexcept>
#include <string>

namespace orb {

// Every failure inside a feature is one of these; the feature's edge decides
// whether it stays silent.
class OrbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Premature end of data or a stream that cannot do what is asked.
class StreamError : public OrbError {
public:
    using OrbError::OrbError;
};

// A component stream that does not match what this program knows.
class ReadError : public OrbError {
public:
    using OrbError::OrbError;
};

inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
inline constexpr const char* kInvalidPropertyPath = "Invalid property path";
inline constexpr const char* kPropertyReadOnly = "Property is read-only";

std::string formatMessage(std::string_view pattern, std::string_view arg);  // replaces the one %s

}  // namespace orb
