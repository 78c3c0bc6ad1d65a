#include "converter/cli/json_writer.h"

#include <charconv>
#include <cmath>

#include "common/platform/codepage.h"

namespace parvex::cli {

void AppendJsonString(std::string& out, std::string_view text) {
  // Round trip through UTF-16 replaces invalid UTF-8 sequences.
  const std::string utf8 = platform::ToUtf8(platform::FromUtf8(text));
  out.push_back('"');
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}

void AppendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, result.ptr);
}

void AppendJsonNumber(std::string& out, int64_t value) {
  out += std::to_string(value);
}

void JsonObjectWriter::Separator() {
  if (!first_) out_ += ", ";
  first_ = false;
}

JsonObjectWriter& JsonObjectWriter::Key(std::string_view key) {
  Separator();
  AppendJsonString(out_, key);
  out_ += ": ";
  return *this;
}

JsonObjectWriter& JsonObjectWriter::String(std::string_view key, std::string_view value) {
  Key(key);
  AppendJsonString(out_, value);
  return *this;
}

JsonObjectWriter& JsonObjectWriter::Int(std::string_view key, int64_t value) {
  Key(key);
  AppendJsonNumber(out_, value);
  return *this;
}

JsonObjectWriter& JsonObjectWriter::Bool(std::string_view key, bool value) {
  Key(key);
  out_ += value ? "true" : "false";
  return *this;
}

JsonObjectWriter& JsonObjectWriter::Null(std::string_view key) {
  Key(key);
  out_ += "null";
  return *this;
}

JsonObjectWriter& JsonObjectWriter::BeginObject(std::string_view key) {
  Key(key);
  out_ += "{";
  first_ = true;
  return *this;
}

JsonObjectWriter& JsonObjectWriter::EndObject() {
  out_ += "}";
  first_ = false;
  return *this;
}

JsonObjectWriter& JsonObjectWriter::BeginArray(std::string_view key) {
  Key(key);
  out_ += "[";
  first_ = true;
  return *this;
}

JsonObjectWriter& JsonObjectWriter::ArrayNumber(double value) {
  Separator();
  AppendJsonNumber(out_, value);
  return *this;
}

JsonObjectWriter& JsonObjectWriter::ArrayInt(int64_t value) {
  Separator();
  AppendJsonNumber(out_, value);
  return *this;
}

JsonObjectWriter& JsonObjectWriter::EndArray() {
  out_ += "]";
  first_ = false;
  return *this;
}

std::string JsonObjectWriter::Finish() {
  out_ += "}";
  return std::move(out_);
}

}  // namespace parvex::cli
