// The morph mesh: nodes that carry one position on the first image and one
// on the second, and triangles whose corners are nodes. Both lists grow at
// the head, so iteration order is newest first, and in every search the
// first match in that order wins. The mesh owns every node and triangle;
// node addresses stay valid until the node is deleted, and the selection
// (SelectedNode, PreviousNode) never names a deleted node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

namespace vesk {

// One node: (X1, Y1) on the first image, (X2, Y2) on the second.
struct TMeshNode {
  std::int32_t X1 = 0;
  std::int32_t Y1 = 0;
  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
};

// One triangle. The corner order is the order in which edges are drawn and
// tested and in which the engines read the corners.
struct TMeshTriangle {
  const TMeshNode* A = nullptr;
  const TMeshNode* B = nullptr;
  const TMeshNode* C = nullptr;
};

// Image kinds: 1 reads X1/Y1, 2 reads X2/Y2; any other kind matches nothing.
inline constexpr int kFirstImage = 1;
inline constexpr int kSecondImage = 2;

// Largest count a mesh file can hold (the header stores 16-bit counts).
inline constexpr std::size_t kMaxMeshCount = 65535;

struct MeshPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Position of `node` on image `kind` (kind 1: X1/Y1, otherwise X2/Y2).
MeshPoint PositionOn(const TMeshNode& node, int kind);

// Which side of the directed edge U->V the point P lies on:
// (V.x - P.x)(V.y - U.y) - (V.x - U.x)(V.y - P.y). Computed exactly; a
// value beyond the 64-bit range is clamped, which keeps its sign.
std::int64_t EdgeSide(MeshPoint p, MeshPoint u, MeshPoint v);

// True when P lies strictly inside triangle (a, b, c), either orientation:
// all three edge sides > 0 or all < 0. Points on an edge or corner are out.
bool PointStrictlyInside(MeshPoint p, MeshPoint a, MeshPoint b, MeshPoint c);

class Mesh {
 public:
  using NodeContainer = std::list<TMeshNode>;
  using TriangleContainer = std::list<TMeshTriangle>;

  Mesh() = default;
  // Nodes and triangles keep their addresses when the mesh is moved.
  Mesh(Mesh&&) = default;
  Mesh& operator=(Mesh&&) = default;
  Mesh(const Mesh&) = delete;
  Mesh& operator=(const Mesh&) = delete;

  // Newest first.
  const NodeContainer& NodeList() const { return nodes_; }
  const TriangleContainer& TriangleList() const { return triangles_; }
  TMeshNode* SelectedNode() const { return selected_; }
  TMeshNode* PreviousNode() const { return previous_; }

  // The true number of elements (a mesh file can store at most 65535).
  std::size_t NodeCount() const { return nodes_.size(); }
  std::size_t TriangleCount() const { return triangles_.size(); }
  bool Empty() const { return nodes_.empty() && triangles_.empty(); }

  // Empties both lists and clears the selection. (The two steps of New
  // mesh; both release everything here, so neither can leave a selection
  // on a released node.)
  void InitMesh();
  void FreeMesh();

  // First node from the head whose position on image `kind` lies less than
  // `node_size` away from (x, y) in both directions (a square of
  // 2 * node_size - 1 pixels). None for an empty list, node_size 0 or a
  // kind other than 1 and 2.
  TMeshNode* FindNode(std::int32_t x, std::int32_t y, int kind, std::uint8_t node_size);
  const TMeshNode* FindNode(std::int32_t x, std::int32_t y, int kind,
                            std::uint8_t node_size) const;

  // New node at (x, y) on both images, at the head; it becomes SelectedNode
  // and the old SelectedNode becomes PreviousNode. Returns the new node.
  TMeshNode* AddNode(std::int32_t x, std::int32_t y);

  // Triangle (PreviousNode, SelectedNode, N) at the head, N being the node
  // FindNode finds at (x, y) or, if none, a new node made by AddNode (which
  // moves the selection). Does nothing unless both selected nodes exist.
  void AddTriangle(std::int32_t x, std::int32_t y, int kind, std::uint8_t node_size);
  // The same with N := `corner`, a node of this mesh, or with none the new
  // node at (x, y).
  void AddTriangleTo(TMeshNode* corner, std::int32_t x, std::int32_t y);

  // Removes `node` (nothing if it is not in the list). Deleting the selected
  // node selects the previous node and makes the deleted node's successor
  // the previous node; deleting the previous node makes its successor the
  // previous node. A selection still naming the deleted node becomes none.
  // Triangles are not touched: callers use the two operations below.
  void DeleteNode(const TMeshNode* node);

  // Removes every triangle using `node` (others keep their order), then the
  // node itself.
  void DeleteNodeAndTriangles(const TMeshNode* node);

  // True when no triangle has `node` as a corner.
  bool NodeIsUnused(const TMeshNode* node) const;

  // Right-click deletion: an unused node is deleted. Otherwise the node
  // stays and the triangles picked by it and the selection go: those whose
  // corners are (node, Previous, Selected) in this cyclic order, with node
  // neither Previous nor Selected. If the head triangle is picked only it
  // goes; otherwise every picked triangle further down goes.
  void DeleteTriangleOrNode(const TMeshNode* node);

  // True when some triangle contains (x, y) strictly inside on image `kind`.
  bool PointInTriangle(std::int32_t x, std::int32_t y, int kind) const;

  // Splits the first triangle T = (A, B, C) containing (x, y) on image
  // `kind`: AddNode(x, y) makes N, whose position on the other image is the
  // centroid of T's positions there (truncated toward zero); T becomes
  // (A, N, C) in place, and (A, B, N) then (N, B, C) go to the head in this
  // order, so the list reads (A, B, N), (N, B, C), ... Returns false and
  // changes nothing when no triangle contains the point.
  bool SplitTriangle(std::int32_t x, std::int32_t y, int kind);

  // Swap Morph Mesh: exchanges each node's two positions. The triangles and
  // the selection stay. Applying it twice restores the mesh.
  void SwapMorphMesh();

  // A plain click on `node`: a third node becomes selected and the selected
  // one previous; clicking the previous node exchanges the two roles;
  // clicking the selected node changes nothing. Ignored for a node that is
  // not in the mesh.
  void SelectNode(TMeshNode* node);

  // Moves `node` on image `kind` (1 or 2; other kinds do nothing).
  static void SetPosition(TMeshNode& node, int kind, std::int32_t x, std::int32_t y);

  // True when `node` is one of this mesh's nodes (linear).
  bool Contains(const TMeshNode* node) const;

  // Building blocks for the mesh file reader. PushNode puts a node with the
  // given values at the head without touching the selection. PushTriangle
  // puts a triangle at the head; its corners must be nodes of this mesh.
  // SetSelection sets both selected nodes; a node not in the mesh counts
  // as none.
  TMeshNode* PushNode(const TMeshNode& values);
  void PushTriangle(const TMeshNode* a, const TMeshNode* b, const TMeshNode* c);
  void SetSelection(TMeshNode* previous, TMeshNode* selected);

 private:
  NodeContainer nodes_;
  TriangleContainer triangles_;
  TMeshNode* selected_ = nullptr;
  TMeshNode* previous_ = nullptr;
};

}  // namespace vesk
