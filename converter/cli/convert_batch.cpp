#include "converter/cli/convert_batch.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/platform/files.h"

namespace parvex::cli {

std::string DestinationFamily(const std::filesystem::path& source,
                              const std::optional<std::filesystem::path>& folder) {
  std::filesystem::path dir = folder ? *folder : source.parent_path();
  if (dir.empty()) dir = ".";
  // One folder named two ways ("a", "./a", a link to it) is one folder.
  std::error_code ec;
  std::filesystem::path real = std::filesystem::weakly_canonical(dir, ec);
  if (ec) real = std::filesystem::absolute(dir, ec).lexically_normal();
  if (ec) real = dir.lexically_normal();

  std::string stem = platform::NarrowFromPath(source.filename().replace_extension());
  for (;;) {
    const std::size_t tilde = stem.rfind('~');
    if (tilde == std::string::npos || tilde + 1 == stem.size() ||
        !std::all_of(stem.begin() + static_cast<std::ptrdiff_t>(tilde) + 1, stem.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
      break;
    }
    stem.erase(tilde);
  }
  for (char& c : stem) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return platform::NarrowFromPath(real) + '/' + stem;
}

void RunBatch(std::span<const std::string> keys, int jobs,
              const std::function<void(std::size_t)>& work,
              const std::function<void(std::size_t)>& finished) {
  // One chain per key, in the order of its first item; a chain runs on one
  // thread from its first item to its last.
  std::vector<std::vector<std::size_t>> chains;
  {
    std::map<std::string_view, std::size_t> chainOf;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const auto [it, added] = chainOf.try_emplace(keys[i], chains.size());
      if (added) chains.emplace_back();
      chains[it->second].push_back(i);
    }
  }
  std::atomic<std::size_t> nextChain{0};
  std::mutex finishing;
  auto run = [&] {
    for (std::size_t c = nextChain++; c < chains.size(); c = nextChain++) {
      for (const std::size_t i : chains[c]) {
        work(i);
        std::lock_guard lock(finishing);
        finished(i);
      }
    }
  };
  const std::size_t helpers =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), chains.size());
  std::vector<std::thread> threads;
  for (std::size_t t = 1; t < helpers; ++t) {
    try {
      threads.emplace_back(run);
    } catch (const std::system_error&) {
      break;  // fewer threads: the work is shared among those there are
    }
  }
  run();
  for (std::thread& t : threads) t.join();
}

}  // namespace parvex::cli
