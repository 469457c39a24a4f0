#include "core/mesh/delaunay.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace vesk {
namespace {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 Uint128;

// A 256-bit two's-complement number, enough for the in-circle determinant
// of 32-bit positions (each of its terms needs about 135 bits).
struct Int256 {
  Uint128 low = 0;
  Uint128 high = 0;
};

Int256 Negate(Int256 v) {
  v.low = ~v.low + 1;
  v.high = ~v.high + (v.low == 0 ? 1 : 0);
  return v;
}

Int256 Add(Int256 a, Int256 b) {
  Int256 sum;
  sum.low = a.low + b.low;
  sum.high = a.high + b.high + (sum.low < a.low ? 1 : 0);
  return sum;
}

// The full product of two 128-bit signed numbers.
Int256 Multiply(Int128 a, Int128 b) {
  const bool negative = (a < 0) != (b < 0);
  const Uint128 ma = a < 0 ? Uint128(0) - Uint128(a) : Uint128(a);
  const Uint128 mb = b < 0 ? Uint128(0) - Uint128(b) : Uint128(b);
  const std::uint64_t a0 = static_cast<std::uint64_t>(ma), a1 = static_cast<std::uint64_t>(ma >> 64);
  const std::uint64_t b0 = static_cast<std::uint64_t>(mb), b1 = static_cast<std::uint64_t>(mb >> 64);
  Int256 product;
  product.low = Uint128(a0) * b0;
  product.high = Uint128(a1) * b1;
  for (Uint128 middle : {Uint128(a0) * b1, Uint128(a1) * b0}) {
    const Uint128 shifted = middle << 64;
    product.low += shifted;
    product.high += (middle >> 64) + (product.low < shifted ? 1 : 0);
  }
  return negative ? Negate(product) : product;
}

int SignOf(Int256 v) {
  if (static_cast<Int128>(v.high) < 0) return -1;
  return (v.high | v.low) != 0 ? 1 : 0;
}

int Sign(Int128 v) { return (v > 0) - (v < 0); }

// > 0 when a, b, c turn the way of the triangles made here.
int Orient(MeshPoint a, MeshPoint b, MeshPoint c) {
  const Int128 abx = Int128(b.x) - a.x, aby = Int128(b.y) - a.y;
  const Int128 acx = Int128(c.x) - a.x, acy = Int128(c.y) - a.y;
  return Sign(abx * acy - aby * acx);
}

constexpr int kNone = -1;

// Corners v turn positively; n[i] is the triangle across the edge opposite
// v[i], that is the edge v[i + 1] -> v[i + 2].
struct Triangle {
  std::array<int, 3> v{};
  std::array<int, 3> n{kNone, kNone, kNone};
};

int Next(int i) { return i == 2 ? 0 : i + 1; }
int Prev(int i) { return i == 0 ? 2 : i - 1; }

class Triangulator {
 public:
  explicit Triangulator(std::vector<MeshPoint> points)
      : p_(std::move(points)), next_(p_.size(), kNone), prev_(p_.size(), kNone),
        hull_triangle_(p_.size(), kNone) {}

  // The points are distinct and sorted by x then y.
  std::vector<Triangle> Run() {
    const int count = static_cast<int>(p_.size());
    int apex = 2;
    while (apex < count && Orient(p_[0], p_[1], p_[apex]) == 0) ++apex;
    if (apex >= count) return {};
    StartFan(apex);
    for (int point = apex + 1; point < count; ++point) Insert(point, point - 1);
    return std::move(t_);
  }

 private:
  // Points 0 .. apex - 1 lie on one line; the apex is joined to each of
  // their segments. Such a fan is already Delaunay: the circle through two
  // neighbours on a line holds no other point of that line.
  void StartFan(int apex) {
    const bool positive = Orient(p_[0], p_[1], p_[apex]) > 0;
    for (int i = 0; i + 1 < apex; ++i) {
      Triangle t;
      t.v = positive ? std::array<int, 3>{apex, i, i + 1} : std::array<int, 3>{apex, i + 1, i};
      t_.push_back(t);
      if (i > 0) Link(static_cast<int>(t_.size()) - 2, static_cast<int>(t_.size()) - 1);
    }
    for (int ti = 0; ti < static_cast<int>(t_.size()); ++ti) {
      for (int i = 0; i < 3; ++i) {
        if (t_[ti].n[i] != kNone) continue;
        const int from = t_[ti].v[Next(i)], to = t_[ti].v[Prev(i)];
        next_[from] = to;
        prev_[to] = from;
        hull_triangle_[from] = ti;
      }
    }
  }

  // Makes the two triangles neighbours across the edge they share.
  void Link(int a, int b) {
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        if (t_[a].v[Next(i)] == t_[b].v[Prev(j)] && t_[a].v[Prev(i)] == t_[b].v[Next(j)]) {
          t_[a].n[i] = b;
          t_[b].n[j] = a;
          return;
        }
      }
    }
  }

  void Replace(int in, int old_neighbour, int new_neighbour) {
    for (int& n : t_[in].n) {
      if (n == old_neighbour) n = new_neighbour;
    }
  }

  // The point lies outside the hull, after `last` in the sort order; `last`
  // is a hull vertex and one of its two hull edges faces the point.
  void Insert(int point, int last) {
    const MeshPoint p = p_[point];
    int end = last;
    while (Orient(p_[end], p_[next_[end]], p) < 0) end = next_[end];
    int start = last;
    while (Orient(p_[prev_[start]], p_[start], p) < 0) start = prev_[start];

    std::vector<int> added;
    for (int v = start; v != end; v = next_[v]) {
      const int w = next_[v];
      const int outer = hull_triangle_[v];
      Triangle t;
      t.v = {point, w, v};
      t.n[0] = outer;
      t_.push_back(t);
      const int ti = static_cast<int>(t_.size()) - 1;
      for (int i = 0; i < 3; ++i) {
        if (t_[outer].v[Next(i)] == v && t_[outer].v[Prev(i)] == w) t_[outer].n[i] = ti;
      }
      if (!added.empty()) {
        t_[ti].n[1] = added.back();
        t_[added.back()].n[2] = ti;
      }
      added.push_back(ti);
    }
    // The hull now runs start -> point -> end.
    for (int v = next_[start]; v != end;) {
      const int after = next_[v];
      next_[v] = prev_[v] = hull_triangle_[v] = kNone;
      v = after;
    }
    next_[start] = point;
    prev_[point] = start;
    hull_triangle_[start] = added.front();
    next_[point] = end;
    prev_[end] = point;
    hull_triangle_[point] = added.back();
    Legalize(std::move(added));
  }

  // Every triangle on the stack has the new point at v[0]; its far edge is
  // flipped while the neighbour's far corner lies inside its circle.
  void Legalize(std::vector<int> stack) {
    while (!stack.empty()) {
      const int t = stack.back();
      stack.pop_back();
      const int u = t_[t].n[0];
      if (u == kNone) continue;
      const int point = t_[t].v[0], a = t_[t].v[1], b = t_[t].v[2];
      int j = 0;
      while (t_[u].v[j] == a || t_[u].v[j] == b) ++j;
      const int d = t_[u].v[j];
      if (InCircleSign(p_[point], p_[a], p_[b], p_[d]) <= 0) continue;
      const int across_bp = t_[t].n[1], across_pa = t_[t].n[2];
      const int across_ad = t_[u].n[Next(j)], across_db = t_[u].n[Prev(j)];
      t_[t].v = {point, a, d};
      t_[t].n = {across_ad, u, across_pa};
      t_[u].v = {point, d, b};
      t_[u].n = {across_db, across_bp, t};
      if (across_ad != kNone) {
        Replace(across_ad, u, t);
      } else {
        hull_triangle_[a] = t;
      }
      if (across_bp != kNone) {
        Replace(across_bp, t, u);
      } else {
        hull_triangle_[b] = u;
      }
      stack.push_back(t);
      stack.push_back(u);
    }
  }

  std::vector<MeshPoint> p_;
  std::vector<int> next_, prev_, hull_triangle_;
  std::vector<Triangle> t_;
};

}  // namespace

int InCircleSign(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint d) {
  const Int128 adx = Int128(a.x) - d.x, ady = Int128(a.y) - d.y;
  const Int128 bdx = Int128(b.x) - d.x, bdy = Int128(b.y) - d.y;
  const Int128 cdx = Int128(c.x) - d.x, cdy = Int128(c.y) - d.y;
  Int256 det = Multiply(adx * adx + ady * ady, bdx * cdy - bdy * cdx);
  det = Add(det, Multiply(bdx * bdx + bdy * bdy, cdx * ady - cdy * adx));
  det = Add(det, Multiply(cdx * cdx + cdy * cdy, adx * bdy - ady * bdx));
  return SignOf(det);
}

std::vector<std::array<std::size_t, 3>> DelaunayTriangles(std::span<const MeshPoint> points) {
  std::vector<std::size_t> order(points.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
    return points[i].x != points[j].x ? points[i].x < points[j].x : points[i].y < points[j].y;
  });
  // Of points at one position the first in `points` stays.
  std::vector<std::size_t> kept;
  std::vector<MeshPoint> distinct;
  for (std::size_t i : order) {
    if (!distinct.empty() && distinct.back().x == points[i].x && distinct.back().y == points[i].y) {
      continue;
    }
    kept.push_back(i);
    distinct.push_back(points[i]);
  }
  std::vector<std::array<std::size_t, 3>> result;
  if (distinct.size() < 3) return result;
  for (const Triangle& t : Triangulator(std::move(distinct)).Run()) {
    result.push_back({kept[t.v[0]], kept[t.v[1]], kept[t.v[2]]});
  }
  return result;
}

Mesh TriangulateNodes(const Mesh& mesh) {
  Mesh result;
  std::vector<const TMeshNode*> old_nodes;
  std::vector<TMeshNode*> new_nodes(mesh.NodeCount());
  std::vector<MeshPoint> points;
  for (const TMeshNode& node : mesh.NodeList()) {
    old_nodes.push_back(&node);
    points.push_back(PositionOn(node, kFirstImage));
  }
  // Pushing from the tail keeps the list order.
  for (std::size_t i = old_nodes.size(); i-- > 0;) new_nodes[i] = result.PushNode(*old_nodes[i]);
  auto copy_of = [&](const TMeshNode* node) -> TMeshNode* {
    auto at = std::find(old_nodes.begin(), old_nodes.end(), node);
    return at == old_nodes.end() ? nullptr : new_nodes[at - old_nodes.begin()];
  };
  result.SetSelection(copy_of(mesh.PreviousNode()), copy_of(mesh.SelectedNode()));
  const std::vector<std::array<std::size_t, 3>> triangles = DelaunayTriangles(points);
  for (auto t = triangles.rbegin(); t != triangles.rend(); ++t) {
    result.PushTriangle(new_nodes[(*t)[0]], new_nodes[(*t)[1]], new_nodes[(*t)[2]]);
  }
  return result;
}

}  // namespace vesk
