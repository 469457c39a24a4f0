#include "core/mesh/auto_mesh.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/mesh/delaunay.h"
#include "core/mesh/fold_over.h"

namespace vesk {
namespace {

bool Inside(const TMeshNode& node, ImageSize first, ImageSize second) {
  return node.X1 >= 0 && node.Y1 >= 0 && node.X1 < first.width && node.Y1 < first.height &&
         node.X2 >= 0 && node.Y2 >= 0 && node.X2 < second.width && node.Y2 < second.height;
}

// Rounds the first position and moves the second by the same amount, so a
// point keeps its match when the displacement is locally a shift.
TMeshNode Rounded(const PointPair& pair) {
  const double x1 = std::round(pair.first.x), y1 = std::round(pair.first.y);
  auto clamped = [](double v) { return static_cast<std::int32_t>(std::clamp(v, -1e9, 1e9)); };
  return TMeshNode{clamped(x1), clamped(y1), clamped(std::round(pair.second.x + x1 - pair.first.x)),
                   clamped(std::round(pair.second.y + y1 - pair.first.y))};
}

bool Near(const TMeshNode& a, const TMeshNode& b, int spacing) {
  const double dx = double(a.X1) - b.X1, dy = double(a.Y1) - b.Y1;
  return dx * dx + dy * dy < double(spacing) * spacing;
}

using Triangles = std::vector<std::array<std::size_t, 3>>;

Triangles TrianglesOf(const std::vector<TMeshNode>& nodes) {
  std::vector<MeshPoint> points;
  points.reserve(nodes.size());
  for (const TMeshNode& node : nodes) points.push_back({node.X1, node.Y1});
  return DelaunayTriangles(points);
}

// The node from `from` on in most folded triangles, the later of equals;
// none when no such node is in a folded triangle.
std::optional<std::size_t> WorstNode(const std::vector<TMeshNode>& nodes,
                                     const Triangles& triangles, std::size_t from) {
  std::vector<int> folds(nodes.size(), 0);
  for (const auto& t : triangles) {
    const TMeshTriangle triangle{&nodes[t[0]], &nodes[t[1]], &nodes[t[2]]};
    if (!FoldsOver(triangle)) continue;
    for (std::size_t corner : t) ++folds[corner];
  }
  std::optional<std::size_t> worst;
  for (std::size_t i = from; i < nodes.size(); ++i) {
    if (folds[i] > 0 && (!worst || folds[i] >= folds[*worst])) worst = i;
  }
  return worst;
}

bool AnyFold(const std::vector<TMeshNode>& nodes, const Triangles& triangles) {
  return std::any_of(triangles.begin(), triangles.end(), [&](const auto& t) {
    return FoldsOver({&nodes[t[0]], &nodes[t[1]], &nodes[t[2]]});
  });
}

// The nodes and the indices of the points they come from (after `border`
// nodes that come from none), with their triangles.
struct Nodes {
  std::vector<TMeshNode> nodes;
  std::vector<std::size_t> from;
  std::size_t border = 0;
  Triangles triangles;

  void Add(const TMeshNode& node, std::size_t point) {
    nodes.push_back(node);
    from.push_back(point);
  }
  void Remove(std::size_t node) {
    nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(node));
    from.erase(from.begin() + static_cast<std::ptrdiff_t>(node - border));
  }
  bool Crowds(const TMeshNode& node, int spacing) const {
    return std::any_of(nodes.begin(), nodes.end(),
                       [&](const TMeshNode& kept) { return Near(kept, node, spacing); });
  }
  // Takes out nodes from `first` on until no triangle folds over; when a
  // fold has no such corner (points on one circle can do that), the last
  // node goes. Answers how many went.
  std::size_t RemoveFolds(std::size_t first) {
    std::size_t removed = 0;
    triangles = TrianglesOf(nodes);
    while (nodes.size() > first) {
      std::optional<std::size_t> worst = WorstNode(nodes, triangles, first);
      if (!worst && !AnyFold(nodes, triangles)) break;
      Remove(worst.value_or(nodes.size() - 1));
      ++removed;
      triangles = TrianglesOf(nodes);
    }
    return removed;
  }
};

// The face region: the triangles whose corners are all landmarks, as
// corner positions on the first and on the second picture.
using Region = std::vector<std::array<TMeshNode, 3>>;
Region FaceRegion(const Nodes& n, std::span<const FoundPoint> points) {
  auto landmark = [&](std::size_t node) {
    return node >= n.border && points[n.from[node - n.border]].kind == PointKind::kLandmark;
  };
  Region region;
  for (const auto& t : n.triangles) {
    if (landmark(t[0]) && landmark(t[1]) && landmark(t[2])) {
      region.push_back({n.nodes[t[0]], n.nodes[t[1]], n.nodes[t[2]]});
    }
  }
  return region;
}

bool InRegion(const TMeshNode& node, const Region& region) {
  for (const auto& [a, b, c] : region) {
    for (int kind : {kFirstImage, kSecondImage}) {
      if (PointStrictlyInside(PositionOn(node, kind), PositionOn(a, kind), PositionOn(b, kind),
                              PositionOn(c, kind))) {
        return true;
      }
    }
  }
  return false;
}

struct MethodNames {
  AutoMeshMethod method;
  std::string_view word;
  std::string_view caption;
};
constexpr MethodNames kNames[] = {{AutoMeshMethod::kAuto, "auto", "Auto"},
                                  {AutoMeshMethod::kFaces, "faces", "Faces"},
                                  {AutoMeshMethod::kFeatures, "features", "Features"},
                                  {AutoMeshMethod::kFlow, "flow", "Flow"}};

const MethodNames& NamesOf(AutoMeshMethod method) {
  return *std::find_if(std::begin(kNames), std::end(kNames),
                       [method](const MethodNames& names) { return names.method == method; });
}

}  // namespace

std::string_view MethodWord(AutoMeshMethod method) { return NamesOf(method).word; }
std::string_view MethodCaption(AutoMeshMethod method) { return NamesOf(method).caption; }

std::optional<AutoMeshMethod> MethodOfWord(std::string_view word) {
  for (const MethodNames& names : kNames) {
    if (names.word == word) return names.method;
  }
  return std::nullopt;
}

Status CheckAutoMeshPicture(ImageSize picture, const std::string& name) {
  if (picture.width >= kMinAutoMeshSide && picture.height >= kMinAutoMeshSide) return {};
  const std::string side = std::to_string(kMinAutoMeshSide);
  return Failure{"Auto Mesh needs pictures of at least " + side + " x " + side + " pixels; " +
                 name + " is " + std::to_string(picture.width) + " x " +
                 std::to_string(picture.height)};
}

int DefaultSpacing(ImageSize picture) {
  const double diagonal = std::hypot(double(picture.width), double(picture.height));
  return std::max(2, static_cast<int>(std::lround(diagonal / 30)));
}

int FacePointSpacing(ImageSize picture, int spacing) {
  const double diagonal = std::hypot(double(picture.width), double(picture.height));
  const int fine = std::max(2, static_cast<int>(std::lround(diagonal / 200)));
  return spacing > 0 ? std::min(spacing, fine) : fine;
}

bool IsFacePoint(PointKind kind) {
  return kind == PointKind::kLandmark || kind == PointKind::kForehead;
}

void AppendPoints(std::vector<FoundPoint>& points, std::span<const PointPair> pairs,
                  PointKind kind) {
  for (const PointPair& pair : pairs) points.push_back({pair, kind});
}

std::vector<PointPair> BorderPairs(ImageSize first, ImageSize second) {
  std::vector<PointPair> pairs;
  // Fractions 0, 1/2 and 1 of each side, clockwise from the top-left corner.
  constexpr int kAround[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
  auto at = [](int half_steps, int extent) {
    return double(GridCoordinate(half_steps, 3, extent));
  };
  for (const auto& [u, v] : kAround) {
    const PointPair pair{{at(u, first.width), at(v, first.height)},
                         {at(u, second.width), at(v, second.height)}};
    const bool known = std::any_of(pairs.begin(), pairs.end(), [&](const PointPair& p) {
      return p.first.x == pair.first.x && p.first.y == pair.first.y;
    });
    if (!known) pairs.push_back(pair);
  }
  return pairs;
}

int SampleStep(ImageSize picture, int spacing, std::size_t max_count) {
  const double area = double(picture.width) * picture.height;
  const double even = std::ceil(std::sqrt(area / double(std::max<std::size_t>(max_count, 1))));
  return std::max({spacing, static_cast<int>(std::min(even, 1e9)), 1});
}

AutoMeshResult AutoMesh(std::span<const FoundPoint> points, ImageSize first, ImageSize second,
                        const AutoMeshOptions& options) {
  const int spacing = options.spacing > 0 ? options.spacing : DefaultSpacing(first);
  AutoMeshResult result;
  Nodes n;
  for (const PointPair& pair : BorderPairs(first, second)) n.nodes.push_back(Rounded(pair));
  n.border = result.border = n.nodes.size();
  Region region;
  // The least distance of a point from the nodes before it.
  auto least = [&](PointKind kind) {
    if (IsFacePoint(kind)) return FacePointSpacing(first, options.spacing);
    return kind == PointKind::kFlow ? std::max(1, spacing / 2) : spacing;
  };
  auto take = [&](bool face) {
    for (std::size_t i = 0; i < points.size() && n.from.size() < options.max_count; ++i) {
      if (IsFacePoint(points[i].kind) != face) continue;
      const TMeshNode node = Rounded(points[i].pair);
      if (!Inside(node, first, second) || n.Crowds(node, least(points[i].kind))) continue;
      if (!face && InRegion(node, region)) continue;
      n.Add(node, i);
    }
  };
  take(true);
  result.removed = n.RemoveFolds(n.border);
  region = FaceRegion(n, points);
  const std::size_t face_end = n.nodes.size();
  take(false);
  result.removed += n.RemoveFolds(face_end);

  std::vector<const TMeshNode*> in_mesh;
  in_mesh.reserve(n.nodes.size());
  for (const TMeshNode& node : n.nodes) in_mesh.push_back(result.mesh.PushNode(node));
  for (const auto& t : n.triangles) {
    result.mesh.PushTriangle(in_mesh[t[0]], in_mesh[t[1]], in_mesh[t[2]]);
  }
  result.kept = std::move(n.from);
  return result;
}

std::string AutoMeshReport(std::span<const FoundPoint> points, const AutoMeshResult& result) {
  std::array<std::size_t, 4> found{}, kept{};  // by kind
  for (const FoundPoint& point : points) ++found[static_cast<std::size_t>(point.kind)];
  for (std::size_t i : result.kept) ++kept[static_cast<std::size_t>(points[i].kind)];
  constexpr auto kLandmark = static_cast<std::size_t>(PointKind::kLandmark);
  constexpr auto kForehead = static_cast<std::size_t>(PointKind::kForehead);
  constexpr auto kFeature = static_cast<std::size_t>(PointKind::kFeature);
  constexpr auto kFlow = static_cast<std::size_t>(PointKind::kFlow);
  std::string report;
  auto part = [&report](std::string text) {
    if (report.empty()) text[0] = static_cast<char>(std::toupper(text[0]));
    report += text + ", ";
  };
  if (found[kLandmark] + found[kForehead] > 0) {
    part("faces: " + std::to_string(kept[kLandmark]) + " + " + std::to_string(kept[kForehead]) +
         " points");
  }
  if (found[kFlow] > 0) part("flow: " + std::to_string(kept[kFlow]) + " points");
  if (found[kFeature] > 0) part("features: " + std::to_string(kept[kFeature]) + " points");
  return report + std::to_string(result.border) + " border, " + std::to_string(result.removed) +
         " removed";
}

Status CheckAutoMeshPoints(const AutoMeshResult& result, AutoMeshMethod method,
                           const std::string& first_name, const std::string& second_name) {
  if (result.kept.size() >= kMinAutoMeshPoints) return {};
  return Failure{"Auto Mesh by " + std::string(MethodWord(method)) + " of " + first_name +
                 " and " + second_name + " keeps " + std::to_string(result.kept.size()) +
                 " points once thinned and rid of folds; " + std::to_string(kMinAutoMeshPoints) +
                 " are needed"};
}

}  // namespace vesk
