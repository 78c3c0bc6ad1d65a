// A drawing reader whose answers a test sets, and which logs its calls.
#pragma once

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converter/app/reader_registry.h"

namespace parvex::testing {

struct FakeReaderScript {
  bool check = true;
  bool read = true;
  bool measure = true;
  bool write = true;
  bool writeFile = true;  // create the destination when writing
  // Someone else creates this file while the drawing is read.
  std::filesystem::path appearsWhileReading;
  std::optional<int> paperCode;
  DrawingExtents extents{-10, -20, 90, 30};
  std::string failure = "scripted failure";
  ConversionContext seen;  // the context as the writer saw it
};

class FakeReader : public DrawingReader {
 public:
  FakeReader(std::string name, FakeReaderScript& script, std::vector<std::string>& log)
      : name_(std::move(name)), script_(script), log_(log) {}

  Status FileCheck(const std::filesystem::path&) override { return Log("check", script_.check); }
  void DataFree() override { log_.push_back(name_ + ":free"); }
  Status FileIn(ConversionContext&, const std::filesystem::path&) override {
    if (!script_.appearsWhileReading.empty()) std::ofstream(script_.appearsWhileReading) << "theirs";
    return Log("read", script_.read);
  }
  Status AfterRead(ConversionContext& context) override {
    log_.push_back(name_ + ":after");
    context.Extents = script_.extents;
    return Outcome(script_.measure);
  }
  std::optional<int> PaperCode() const override { return script_.paperCode; }
  Status FileOutDXF(ConversionContext& context, const std::filesystem::path& dst, DxfVersion version) override {
    log_.push_back(name_ + ":write v" + std::to_string(SettingNumber(version)) + " space" +
                   std::to_string(SettingNumber(context.Settings.OutputSpace)));
    script_.seen = context;
    // As the real writer: a new file only, nothing left when failing.
    if (std::filesystem::exists(std::filesystem::symlink_status(dst))) return Fail("taken");
    if (script_.write && script_.writeFile) std::ofstream(dst) << "0\nEOF\n";
    return Outcome(script_.write);
  }

 private:
  Status Log(const char* what, bool succeeds) {
    log_.push_back(name_ + ":" + what);
    return Outcome(succeeds);
  }
  // Success, or a failure with the script's reason.
  Status Outcome(bool succeeds) const { return succeeds ? Ok() : Status(Fail(script_.failure)); }
  std::string name_;
  FakeReaderScript& script_;
  std::vector<std::string>& log_;
};

}  // namespace parvex::testing
