// Snapshots restore the mesh exactly: file bytes, corner and selection identities.
#include "core/mesh/mesh_snapshot.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/mesh/mesh_file.h"
#include "tests/core/support/mesh_words.h"

namespace vesk {
namespace {

using testing_support::Shape;

TEST(MeshSnapshot, RestoringGivesTheSameMeshFileAndIdentities) {
  const struct { const char* name; std::function<void(Mesh&)> build; } recipes[] = {
      {"empty", [](Mesh&) {}},
      {"strip with split and swap",
       [](Mesh& m) {
         m.AddNode(0, 0);
         m.AddNode(40, 0);
         m.AddTriangle(20, 30, kFirstImage, 5);
         m.AddTriangle(60, 30, kFirstImage, 5);
         m.SplitTriangle(20, 10, kFirstImage);
         m.SwapMorphMesh();
         Mesh::SetPosition(*m.SelectedNode(), kSecondImage, -7, 99);
       }},
      {"equal nodes, selection on the older twin",
       [](Mesh& m) {
         TMeshNode* older = m.AddNode(5, 5);
         TMeshNode* newer = m.AddNode(5, 5);
         m.AddNode(9, 9);
         m.PushTriangle(newer, older, m.SelectedNode());
         m.SetSelection(newer, older);
       }},
      {"selection cleared by deletion",
       [](Mesh& m) {
         m.AddNode(1, 1);
         m.AddNode(2, 2);
         m.DeleteNode(m.SelectedNode());
         m.DeleteNode(m.SelectedNode());
         m.AddNode(8, 8);
         m.SetSelection(nullptr, nullptr);
       }},
  };
  for (const auto& r : recipes) {
    SCOPED_TRACE(r.name);
    Mesh original;
    r.build(original);
    const MeshSnapshot snapshot = TakeMeshSnapshot(original);
    const Mesh restored = RestoreMeshSnapshot(snapshot);
    auto bytes = [](const Mesh& m) { return WriteMesh(m, "1.bmp", "2.bmp").Value(); };
    EXPECT_EQ(bytes(restored), bytes(original));
    EXPECT_EQ(Shape(restored), Shape(original));
    EXPECT_TRUE(TakeMeshSnapshot(restored) == snapshot);
  }
}

}  // namespace
}  // namespace vesk
