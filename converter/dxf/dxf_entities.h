// The one entity container of the DXF model. The drawing's top level
// (model space, the first paper space and the further layouts, told apart
// by each record's space code) and every block definition hold their
// entities in one DxfEntities each; the model adds to them and the section
// writers visit them.
//
// Records are kept by kind, each kind in an array of its own, and an order
// list of (kind, index) says in which order they were added, which is the
// order they are written in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <limits>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "converter/dxf/dxf_records.h"

namespace parvex {

class TDXFmodel;

class DxfEntities {
 public:
  enum class Level { TopLevel, Block };

  struct Entry {
    DxfEntityKind kind;
    std::uint32_t index;  // into the records of that kind
  };

  explicit DxfEntities(Level level) : level_(level) {}

  Level level() const { return level_; }
  bool IsBlock() const { return level_ == Level::Block; }

  // Where the two levels differ, all in one place:
  // - a curve swept by a whole turn is a circle or a whole ellipse at the
  //   top level; in a block definition it stays an arc with its sweep;
  // - an insert or dimension in a block definition must name an existing
  //   definition, while at the top level it is kept and left unwritten;
  // - viewports exist at the top level only (Append refuses them here).
  bool WholeTurnIsWholeCurve() const { return level_ == Level::TopLevel; }
  bool RequiresExistingBlocks() const { return level_ == Level::Block; }
  template <class R>
  bool Holds() const {
    return R::kKind != DxfEntityKind::Viewport || level_ == Level::TopLevel;
  }

  std::size_t size() const { return order_.size(); }
  bool empty() const { return order_.empty(); }
  const std::vector<Entry>& Order() const { return order_; }

  // The records of one kind, in the order they were added.
  template <class R>
  const std::vector<R>& Records() const {
    return std::get<std::vector<R>>(records_);
  }

  // Room for n more records of kind R, or n more entries of the order, for
  // a caller that knows what is coming: the arrays are then allocated once
  // instead of grown step by step. A reservation that cannot be made is
  // left out (the arrays grow as needed).
  template <class R>
  void Reserve(std::size_t n) {
    ReserveIn(MutableRecords<R>(), n);
  }
  void ReserveOrder(std::size_t n) { ReserveIn(order_, n); }

  // Calls visit(record) for every record in order; visit takes each record
  // type (a generic lambda, or an overload set). The handle numbering
  // visits the records to give them their handles.
  template <class F>
  void Visit(F&& visit) const {
    VisitIn(*this, visit, 0, order_.size(), std::make_index_sequence<std::tuple_size_v<Arrays>>());
  }
  template <class F>
  void Visit(F&& visit) {
    VisitIn(*this, visit, 0, order_.size(), std::make_index_sequence<std::tuple_size_v<Arrays>>());
  }
  // Visit for the entries [first, last) of the order only (a part of a
  // section written on its own thread).
  template <class F>
  void Visit(std::size_t first, std::size_t last, F&& visit) const {
    VisitIn(*this, visit, first, std::min(last, order_.size()),
            std::make_index_sequence<std::tuple_size_v<Arrays>>());
  }

 private:
  // Only the model adds, changes and removes records: it makes its
  // decisions (by layer, curve kinds, ...) before a record is stored.
  friend class TDXFmodel;

  // Appends a record at the end of the order. False, with nothing changed,
  // when the arrays are full or this level holds no records of the kind.
  // Running out of memory raises std::bad_alloc, which ends the conversion
  // with its reason instead of losing the record.
  template <class R>
  bool Append(R&& r) {
    using T = std::remove_cvref_t<R>;
    if (!Holds<T>()) return false;
    std::vector<T>& records = MutableRecords<T>();
    constexpr std::size_t kMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
    if (records.size() >= kMax || order_.size() >= kMax) return false;
    order_.push_back({T::kKind, static_cast<std::uint32_t>(records.size())});
    records.push_back(std::forward<R>(r));
    return true;
  }

  template <class V>
  static void ReserveIn(V& v, std::size_t n) {
    try {
      v.reserve(v.size() + n);
    } catch (const std::exception&) {
    }
  }

  template <class R>
  std::vector<R>& MutableRecords() {
    return std::get<std::vector<R>>(records_);
  }

  // Removes every record of one kind.
  template <class R>
  void RemoveAll() {
    std::erase_if(order_, [](const Entry& e) { return e.kind == R::kKind; });
    MutableRecords<R>().clear();
  }

  using Arrays =
      std::tuple<std::vector<TDXF_Line>, std::vector<TDXF_Circle>, std::vector<TDXF_Arc>,
                 std::vector<TDXF_Ellipse>, std::vector<TDXF_Ten>, std::vector<TDXF_Solid3>,
                 std::vector<TDXF_Solid4>, std::vector<TDXF_Moji>, std::vector<TDXF_Image>,
                 std::vector<TDXF_PLine>, std::vector<TDXF_Dimension>,
                 std::vector<TDXF_ViewPort>, std::vector<TDXF_Block>>;

  // Each entry goes to the array of its kind (one array per kind).
  template <class Self, class F, std::size_t... I>
  static void VisitIn(Self& self, F& visit, std::size_t first, std::size_t last,
                      std::index_sequence<I...>) {
    for (std::size_t k = first; k < last; ++k) {
      const Entry& e = self.order_[k];
      (void)((e.kind == std::tuple_element_t<I, Arrays>::value_type::kKind &&
              (visit(std::get<I>(self.records_)[e.index]), true)) ||
             ...);
    }
  }

  Level level_;
  std::vector<Entry> order_;
  Arrays records_;
};

}  // namespace parvex
