// Minimal writer for one-line JSON objects, as parvex-cli prints them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parvex::cli {

// Appends `text` as a JSON string literal. `text` is taken as UTF-8; bytes
// that are not valid UTF-8 become U+FFFD so the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);
// Appends a number; NaN and infinities become null.
void AppendJsonNumber(std::string& out, double value);
void AppendJsonNumber(std::string& out, int64_t value);

// Builds one object: {"key": value, ...}. Nested objects and arrays are
// opened and closed explicitly.
class JsonObjectWriter {
 public:
  JsonObjectWriter() { out_ = "{"; }

  JsonObjectWriter& Key(std::string_view key);
  JsonObjectWriter& String(std::string_view key, std::string_view value);
  JsonObjectWriter& Int(std::string_view key, int64_t value);
  JsonObjectWriter& Bool(std::string_view key, bool value);
  JsonObjectWriter& Null(std::string_view key);
  JsonObjectWriter& BeginObject(std::string_view key);
  JsonObjectWriter& EndObject();
  JsonObjectWriter& BeginArray(std::string_view key);
  JsonObjectWriter& ArrayNumber(double value);
  JsonObjectWriter& ArrayInt(int64_t value);
  JsonObjectWriter& EndArray();

  // The finished object (closes the outermost brace once).
  std::string Finish();

 private:
  void Separator();
  std::string out_;
  bool first_ = true;
};

}  // namespace parvex::cli
