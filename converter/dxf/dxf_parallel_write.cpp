#include "converter/dxf/dxf_parallel_write.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// Chunks formatted ahead per thread: enough that no thread waits for the
// writing of the one before, few enough to bound the buffers.
constexpr std::size_t kChunksAheadPerThread = 2;
constexpr int kMaxThreads = 64;

// Appends what a chunk writer's sink flushes to the chunk's buffer.
class ChunkOutput final : public DxfByteOutput {
 public:
  Status Write(const char* data, std::size_t n) override {
    target->append(data, n);
    return Ok();
  }
  std::string* target = nullptr;
};

// The chunks between the threads that format them and the one that writes
// them. Chunk i uses slot i % slots.size(); a thread may take chunk i only
// once chunk i - slots.size() has been written, which bounds the memory.
class ChunkPipeline {
 public:
  ChunkPipeline(std::size_t chunks, std::size_t window) : chunks_(chunks), slots_(window) {}

  // The loop of one formatting thread.
  void Format(DxfVersion ver, const DxfFormatterFactory& make) {
    ChunkOutput out;
    DxfTextSink sink(out, 64 * 1024);
    DxfWriter w(sink, ver);
    DxfChunkFormatter format;
    try {
      format = make(w);
    } catch (...) {
      Fail(std::current_exception());
      return;
    }
    for (;;) {
      std::size_t i = 0;
      {
        std::unique_lock lock(mu_);
        changed_.wait(lock, [&] {
          return stop_ || next_ >= chunks_ || next_ < written_ + slots_.size();
        });
        if (stop_ || next_ >= chunks_) break;
        i = next_++;
      }
      Slot& slot = slots_[i % slots_.size()];
      out.target = &slot.bytes;
      std::exception_ptr error;
      try {
        format(i);
        // Appending to a string cannot fail but by throwing.
        (void)sink.Flush();
      } catch (...) {
        error = std::current_exception();
      }
      std::lock_guard lock(mu_);
      slot.ready = true;
      slot.error = error;
      changed_.notify_all();
    }
    std::lock_guard lock(mu_);
    nonFinite_ += w.NonFiniteCount();
  }

  // Hands chunk i's bytes to `write` once they are there, then frees its
  // slot; a failure of its formatting (or of a thread's start) is thrown.
  template <class Write>
  void TakeInOrder(std::size_t i, Write write) {
    Slot& slot = slots_[i % slots_.size()];
    {
      std::unique_lock lock(mu_);
      changed_.wait(lock, [&] { return slot.ready || failure_; });
      if (failure_) std::rethrow_exception(failure_);
      if (slot.error) std::rethrow_exception(slot.error);
    }
    write(std::string_view(slot.bytes));
    slot.bytes.clear();  // keeps its capacity for a later chunk
    std::lock_guard lock(mu_);
    slot.ready = false;
    ++written_;
    changed_.notify_all();
  }

  void Stop() {
    std::lock_guard lock(mu_);
    stop_ = true;
    changed_.notify_all();
  }
  long long NonFinite() const { return nonFinite_; }

 private:
  struct Slot {
    std::string bytes;
    bool ready = false;
    std::exception_ptr error;
  };
  void Fail(std::exception_ptr e) {
    std::lock_guard lock(mu_);
    if (!failure_) failure_ = e;
    stop_ = true;
    changed_.notify_all();
  }

  const std::size_t chunks_;
  std::vector<Slot> slots_;
  std::mutex mu_;
  std::condition_variable changed_;
  std::size_t next_ = 0;     // the next chunk to format
  std::size_t written_ = 0;  // chunks written so far
  bool stop_ = false;
  std::exception_ptr failure_;
  long long nonFinite_ = 0;
};

// Joins the threads however the writing ends.
class Threads {
 public:
  explicit Threads(ChunkPipeline& p) : p_(p) {}
  ~Threads() {
    p_.Stop();
    for (std::thread& t : threads_) t.join();
  }
  // False when the system gives no further thread.
  template <class F>
  bool Start(F f) {
    try {
      threads_.emplace_back(std::move(f));
      return true;
    } catch (const std::system_error&) {
      return false;
    }
  }
  std::size_t size() const { return threads_.size(); }

 private:
  ChunkPipeline& p_;
  std::vector<std::thread> threads_;
};

}  // namespace

int DxfDefaultThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(std::min<unsigned>(n, kMaxThreads));
}

std::vector<std::vector<DxfEntryRun>> SplitIntoChunks(std::span<const std::size_t> unitEntries,
                                                      std::size_t chunkEntries) {
  chunkEntries = std::max<std::size_t>(chunkEntries, 1);
  std::vector<std::vector<DxfEntryRun>> chunks;
  std::vector<DxfEntryRun> current;
  std::size_t load = 0;
  auto add = [&](DxfEntryRun run, std::size_t weight) {
    current.push_back(run);
    load += weight;
    if (load >= chunkEntries) {
      chunks.push_back(std::move(current));
      current.clear();
      load = 0;
    }
  };
  for (std::size_t u = 0; u < unitEntries.size(); ++u) {
    const std::size_t n = unitEntries[u];
    if (n == 0) {
      add({u, 0, 0, true, true}, 1);
      continue;
    }
    for (std::size_t first = 0; first < n;) {
      const std::size_t take = std::min(n - first, chunkEntries - load);
      add({u, first, first + take, first == 0, first + take == n}, take);
      first += take;
    }
  }
  if (!current.empty()) chunks.push_back(std::move(current));
  return chunks;
}

void WriteChunksInOrder(DxfWriter& w, std::size_t chunks, const DxfFormatterFactory& make) {
  DxfTextSink* target = w.TextSink();
  const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(w.Threads()), chunks);
  if (threads <= 1 || target == nullptr) {
    const DxfChunkFormatter format = make(w);
    for (std::size_t i = 0; i < chunks; ++i) format(i);
    return;
  }
  ChunkPipeline pipeline(chunks, threads * kChunksAheadPerThread);
  {
    Threads workers(pipeline);
    for (std::size_t t = 0; t < threads; ++t) {
      if (!workers.Start([&pipeline, &make, ver = w.Ver()] { pipeline.Format(ver, make); })) break;
    }
    if (workers.size() == 0) {
      // No thread at all: nothing was taken yet, so this thread does it all.
      const DxfChunkFormatter format = make(w);
      for (std::size_t i = 0; i < chunks; ++i) format(i);
      return;
    }
    for (std::size_t i = 0; i < chunks; ++i) {
      pipeline.TakeInOrder(i, [&](std::string_view bytes) { target->Append(bytes); });
    }
  }
  w.AddNonFinite(pipeline.NonFinite());
}

}  // namespace parvex
