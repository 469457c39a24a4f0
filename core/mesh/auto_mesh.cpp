#include "core/mesh/auto_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <optional>

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

// The node (never one of the first `border`) in most folded triangles, the
// later of equals; none when no triangle folds over.
std::optional<std::size_t> WorstNode(const std::vector<TMeshNode>& nodes,
                                     const std::vector<std::array<std::size_t, 3>>& triangles,
                                     std::size_t border) {
  std::vector<int> folds(nodes.size(), 0);
  for (const auto& t : triangles) {
    const TMeshTriangle triangle{&nodes[t[0]], &nodes[t[1]], &nodes[t[2]]};
    if (!FoldsOver(triangle)) continue;
    for (std::size_t corner : t) ++folds[corner];
  }
  std::optional<std::size_t> worst;
  for (std::size_t i = border; i < nodes.size(); ++i) {
    if (folds[i] > 0 && (!worst || folds[i] >= folds[*worst])) worst = i;
  }
  return worst;
}

std::vector<std::array<std::size_t, 3>> TrianglesOf(const std::vector<TMeshNode>& nodes) {
  std::vector<MeshPoint> points;
  points.reserve(nodes.size());
  for (const TMeshNode& node : nodes) points.push_back({node.X1, node.Y1});
  return DelaunayTriangles(points);
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
  return std::max(2, static_cast<int>(std::lround(diagonal / 200)));
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

AutoMeshResult AutoMesh(std::span<const PointPair> points, ImageSize first, ImageSize second,
                        const AutoMeshOptions& options) {
  const int spacing = options.spacing > 0 ? options.spacing : DefaultSpacing(first);
  AutoMeshResult result;
  std::vector<TMeshNode> nodes;
  for (const PointPair& pair : BorderPairs(first, second)) nodes.push_back(Rounded(pair));
  result.border = nodes.size();
  for (std::size_t i = 0; i < points.size() && result.kept.size() < options.max_count; ++i) {
    const TMeshNode node = Rounded(points[i]);
    if (!Inside(node, first, second)) continue;
    if (std::any_of(nodes.begin(), nodes.end(),
                    [&](const TMeshNode& kept) { return Near(kept, node, spacing); })) {
      continue;
    }
    nodes.push_back(node);
    result.kept.push_back(i);
  }

  auto triangles = TrianglesOf(nodes);
  while (std::optional<std::size_t> worst = WorstNode(nodes, triangles, result.border)) {
    nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(*worst));
    result.kept.erase(result.kept.begin() + static_cast<std::ptrdiff_t>(*worst - result.border));
    ++result.removed;
    triangles = TrianglesOf(nodes);
  }

  std::vector<const TMeshNode*> in_mesh;
  in_mesh.reserve(nodes.size());
  for (const TMeshNode& node : nodes) in_mesh.push_back(result.mesh.PushNode(node));
  for (const auto& t : triangles) {
    result.mesh.PushTriangle(in_mesh[t[0]], in_mesh[t[1]], in_mesh[t[2]]);
  }
  return result;
}

std::string AutoMeshReport(AutoMeshMethod method, const AutoMeshResult& result,
                           std::optional<std::size_t> extra_from) {
  const std::size_t first = extra_from.value_or(SIZE_MAX);
  const auto main = static_cast<std::size_t>(std::count_if(
      result.kept.begin(), result.kept.end(), [first](std::size_t i) { return i < first; }));
  std::string report = std::string(MethodCaption(method)) + ": " + std::to_string(main);
  if (extra_from) report += " + " + std::to_string(result.kept.size() - main);
  return report + " points, " + std::to_string(result.border) + " border, " +
         std::to_string(result.removed) + " removed";
}

}  // namespace vesk
