// Test helper: the records a model writes, collected through a pair sink
// (no file), split as tests/dxfaudit/dxf_pairs.h splits a file. Values stay
// in the file's encoding; Utf8FromFile turns one into UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"
#include "tests/dxfaudit/dxf_pairs.h"

namespace parvex::testing {

inline std::vector<DxfRecord> WriteRecords(TDXFmodel& m) {
  DxfPairSink sink;
  const Status written = m.WriteDXF("/nonexistent/source.jww", sink);
  EXPECT_TRUE(written) << written.reason();
  return SplitRecords(sink.pairs);
}

inline std::string Utf8FromFile(const std::string& v, int ver) {
  return ver == 2 ? v : platform::ToUtf8(platform::DecodeCp932(v));
}

}  // namespace parvex::testing
