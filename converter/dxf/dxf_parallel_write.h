// Sections written on several threads with the same bytes as on one.
//
// A section's records are cut into chunks of consecutive entries. Each
// worker thread has a writer of its own (and whatever the caller builds on
// it, such as an entity writer with its name cache); it formats whole
// chunks into a buffer of the chunk's own, and the buffers are passed to the
// section's writer strictly in chunk order. Every record writes the same
// groups whichever writer formats it, and handles were given before writing
// began, so the file is byte for byte the one a single thread writes.
//
// Memory: at most a few chunks per thread are formatted ahead of the one
// being written; a written buffer is reused for a later chunk.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace parvex {

class DxfWriter;

// The number of threads "0" stands for: the processor's cores (at least 1).
int DxfDefaultThreads();

// The threads a thread-count setting asks for: the count itself, or every
// core for 0 (or less).
inline int DxfThreadsOf(int setting) { return setting > 0 ? setting : DxfDefaultThreads(); }

// A run of entries [first, last) of one unit of a section (a block
// definition, the top-level container). `head` marks the first run of the
// unit, `tail` its last; a unit without entries is one run with both.
struct DxfEntryRun {
  std::size_t unit = 0;
  std::size_t first = 0;
  std::size_t last = 0;
  bool head = false;
  bool tail = false;
};

// Cuts units of the given entry counts into chunks of runs, each chunk
// holding about `chunkEntries` entries (a unit counts at least 1 for its
// frame), in order. chunks[i] is the list of runs of chunk i.
std::vector<std::vector<DxfEntryRun>> SplitIntoChunks(std::span<const std::size_t> unitEntries,
                                                      std::size_t chunkEntries);

// Entries per chunk: large enough that a chunk costs far more than handing
// it over, small enough that the buffers in flight stay a few megabytes.
inline constexpr std::size_t kDxfChunkEntries = 2048;

// Formats chunk i through the writer the formatter was made for.
using DxfChunkFormatter = std::function<void(std::size_t chunk)>;
// Makes the formatter of one thread, writing through that thread's writer.
using DxfFormatterFactory = std::function<DxfChunkFormatter(DxfWriter& w)>;

// Writes chunks 0 .. chunks-1 through w in order, on up to w.Threads()
// threads. On one thread, or when w does not write text (a pair sink), the
// chunks are formatted straight through w. An exception of a formatter
// stops the work and is thrown again here, after every thread has ended.
// The non-finite reals the threads wrote are added to w's count.
void WriteChunksInOrder(DxfWriter& w, std::size_t chunks, const DxfFormatterFactory& make);

}  // namespace parvex
