// Several drawings converted at once with the outcome of converting them
// one after another: drawings that may compete for one output name are
// converted in argument order, one after the other, while the others run
// beside them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace parvex::cli {

// The names a drawing's result may get (NAME.dxf, NAME~1.dxf, ...) as one
// key: the folder, and the lower-cased name without its extension and
// without trailing "~N" parts, since NAME~1.jww wants NAME~1.dxf, which
// NAME.jww may take as well. Equal keys for drawings that may compete.
std::string DestinationFamily(const std::filesystem::path& source,
                              const std::optional<std::filesystem::path>& folder);

// Runs work(i) for every i of keys on up to `jobs` threads (this one
// included). Items with equal keys run in index order, each after the one
// before has ended. finished(i) is called once per item as it ends, one
// call at a time.
void RunBatch(std::span<const std::string> keys, int jobs,
              const std::function<void(std::size_t)>& work,
              const std::function<void(std::size_t)>& finished);

}  // namespace parvex::cli
