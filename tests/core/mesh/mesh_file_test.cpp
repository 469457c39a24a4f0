#include "core/mesh/mesh_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/common/file_io.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Values = std::tuple<int, int, int, int>;

Values ValuesOf(const TMeshNode* n) { return {n->X1, n->Y1, n->X2, n->Y2}; }

std::vector<Values> NodeValues(const Mesh& mesh) {
  std::vector<Values> out;
  for (const TMeshNode& n : mesh.NodeList()) out.push_back(ValuesOf(&n));
  return out;
}

std::vector<std::vector<Values>> TriangleValues(const Mesh& mesh) {
  std::vector<std::vector<Values>> out;
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    out.push_back({ValuesOf(t.A), ValuesOf(t.B), ValuesOf(t.C)});
  }
  return out;
}

// Little helpers writing the layout by hand, independent of the writer.
void Put32(Bytes& b, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void PutRecord(Bytes& b, Values v) {
  Put32(b, std::get<0>(v));
  Put32(b, std::get<1>(v));
  Put32(b, std::get<2>(v));
  Put32(b, std::get<3>(v));
}
Bytes Header(int nodes, int triangles) {
  Bytes b = {6, 'M', 'E', 'S', 'H', '1', '1'};
  b.push_back(static_cast<std::uint8_t>(nodes & 0xFF));
  b.push_back(static_cast<std::uint8_t>(nodes >> 8));
  b.push_back(static_cast<std::uint8_t>(triangles & 0xFF));
  b.push_back(static_cast<std::uint8_t>(triangles >> 8));
  return b;
}
void PutNames(Bytes& b, const std::string& first, const std::string& second) {
  b.insert(b.end(), first.begin(), first.end());
  b.push_back('*');
  b.insert(b.end(), second.begin(), second.end());
  b.push_back('*');
}

// A small mesh: two triangles sharing an edge, moved on the second image.
Mesh SmallMesh() {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  Mesh::SetPosition(*a, 2, 1, -2);
  TMeshNode* b = mesh.AddNode(100, 0);
  Mesh::SetPosition(*b, 2, 103, 4);
  mesh.AddTriangle(50, 80, 1, 5);
  mesh.AddTriangle(150, 80, 1, 5);
  return mesh;
}

TEST(MeshFile, EmptyMeshWithEmptyNamesIs45Bytes) {
  Mesh mesh;
  auto bytes = WriteMesh(mesh, "", "");
  ASSERT_TRUE(bytes.Ok());
  Bytes expected = Header(0, 0);
  expected.resize(expected.size() + 32, 0);
  expected.push_back('*');
  expected.push_back('*');
  EXPECT_EQ(bytes.Value().size(), 45u);
  EXPECT_EQ(bytes.Value(), expected);

  auto back = ReadMesh(expected);
  ASSERT_TRUE(back.Ok()) << back.Message();
  EXPECT_TRUE(back.Value().mesh.Empty());
  EXPECT_EQ(back.Value().mesh.SelectedNode(), nullptr);
  EXPECT_EQ(back.Value().first_file_name, "");
  EXPECT_EQ(back.Value().second_file_name, "");
}

TEST(MeshFile, OneSelectedNodeIsWrittenWithItsRecordAndAZeroPreviousRecord) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(-3, 70000);
  Mesh::SetPosition(*n, 2, 258, -1);
  auto bytes = WriteMesh(mesh, "C:\\a.bmp", "b.bmp");
  ASSERT_TRUE(bytes.Ok());
  Bytes expected = Header(1, 0);
  PutRecord(expected, {-3, 70000, 258, -1});
  PutRecord(expected, {0, 0, 0, 0});
  PutRecord(expected, {-3, 70000, 258, -1});
  PutNames(expected, "C:\\a.bmp", "b.bmp");
  EXPECT_EQ(bytes.Value().size(), 11u + 16 + 16 + 16 + 9 + 6);
  EXPECT_EQ(bytes.Value(), expected);

  auto back = ReadMesh(expected);
  ASSERT_TRUE(back.Ok()) << back.Message();
  const Mesh& read = back.Value().mesh;
  ASSERT_EQ(read.NodeCount(), 1u);
  EXPECT_EQ(read.SelectedNode(), &read.NodeList().front());
  EXPECT_EQ(read.PreviousNode(), nullptr);
  EXPECT_EQ(NodeValues(read), (std::vector<Values>{{-3, 70000, 258, -1}}));
  EXPECT_EQ(back.Value().first_file_name, "C:\\a.bmp");
  EXPECT_EQ(back.Value().second_file_name, "b.bmp");
}

TEST(MeshFile, WriterPutsRecordsNewestFirstWithTheSelectionAfterTheNodes) {
  Mesh mesh = SmallMesh();
  auto bytes = WriteMesh(mesh, "one", "two");
  ASSERT_TRUE(bytes.Ok());
  // Nodes newest first: d (150,80), c (50,80), b, a. Selection: previous c, selected d.
  Bytes expected = Header(4, 2);
  PutRecord(expected, {150, 80, 150, 80});
  PutRecord(expected, {50, 80, 50, 80});
  PutRecord(expected, {100, 0, 103, 4});
  PutRecord(expected, {0, 0, 1, -2});
  PutRecord(expected, {50, 80, 50, 80});
  PutRecord(expected, {150, 80, 150, 80});
  // Triangles newest first: (b, c, d), then (a, b, c).
  PutRecord(expected, {100, 0, 103, 4});
  PutRecord(expected, {50, 80, 50, 80});
  PutRecord(expected, {150, 80, 150, 80});
  PutRecord(expected, {0, 0, 1, -2});
  PutRecord(expected, {100, 0, 103, 4});
  PutRecord(expected, {50, 80, 50, 80});
  PutNames(expected, "one", "two");
  EXPECT_EQ(bytes.Value(), expected);
}

TEST(MeshFile, SaveOpenSaveReversesTheOrderAndASecondRoundRestoresIt) {
  Mesh mesh = SmallMesh();
  auto first = WriteMesh(mesh, "x.bmp", "y.bmp");
  ASSERT_TRUE(first.Ok());
  auto opened = ReadMesh(first.Value());
  ASSERT_TRUE(opened.Ok()) << opened.Message();
  const Mesh& read = opened.Value().mesh;

  std::vector<Values> nodes = NodeValues(mesh);
  std::vector<Values> reversed_nodes(nodes.rbegin(), nodes.rend());
  EXPECT_EQ(NodeValues(read), reversed_nodes);
  auto triangles = TriangleValues(mesh);
  decltype(triangles) reversed_triangles(triangles.rbegin(), triangles.rend());
  EXPECT_EQ(TriangleValues(read), reversed_triangles);
  EXPECT_EQ(ValuesOf(read.SelectedNode()), ValuesOf(mesh.SelectedNode()));
  EXPECT_EQ(ValuesOf(read.PreviousNode()), ValuesOf(mesh.PreviousNode()));

  auto second = WriteMesh(read, opened.Value().first_file_name, opened.Value().second_file_name);
  ASSERT_TRUE(second.Ok());
  EXPECT_NE(second.Value(), first.Value());
  auto reopened = ReadMesh(second.Value());
  ASSERT_TRUE(reopened.Ok());
  auto third = WriteMesh(reopened.Value().mesh, "x.bmp", "y.bmp");
  ASSERT_TRUE(third.Ok());
  EXPECT_EQ(third.Value(), first.Value());
  EXPECT_EQ(NodeValues(reopened.Value().mesh), nodes);
}

TEST(MeshFile, CornersWithDuplicateValuesBindToTheNodeReadLast) {
  Bytes file = Header(3, 1);
  PutRecord(file, {5, 5, 5, 5});  // first in file
  PutRecord(file, {9, 9, 9, 9});
  PutRecord(file, {5, 5, 5, 5});  // last in file: at the head after reading
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {5, 5, 5, 5});
  PutRecord(file, {5, 5, 5, 5});
  PutRecord(file, {9, 9, 9, 9});
  PutRecord(file, {5, 5, 5, 5});
  PutNames(file, "", "");
  auto read = ReadMesh(file);
  ASSERT_TRUE(read.Ok()) << read.Message();
  const Mesh& mesh = read.Value().mesh;
  ASSERT_EQ(mesh.NodeCount(), 3u);
  const TMeshNode* head = &mesh.NodeList().front();
  const TMeshNode* tail = &mesh.NodeList().back();
  ASSERT_EQ(ValuesOf(head), (Values{5, 5, 5, 5}));
  ASSERT_EQ(ValuesOf(tail), (Values{5, 5, 5, 5}));
  ASSERT_EQ(mesh.TriangleCount(), 1u);
  const TMeshTriangle& t = mesh.TriangleList().front();
  EXPECT_EQ(t.A, head);
  EXPECT_EQ(ValuesOf(t.B), (Values{9, 9, 9, 9}));
  EXPECT_EQ(t.C, head);
  // Both nodes are kept; the selection takes the first match in the file.
  EXPECT_EQ(mesh.SelectedNode(), tail);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
}

TEST(MeshFile, ZeroSelectionRecordSelectsANodeAtTheOrigin) {
  Bytes file = Header(2, 0);
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {7, 7, 7, 7});
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {1, 2, 3, 4});  // matches nothing
  PutNames(file, "a", "b");
  auto read = ReadMesh(file);
  ASSERT_TRUE(read.Ok());
  const Mesh& mesh = read.Value().mesh;
  EXPECT_EQ(mesh.PreviousNode(), &mesh.NodeList().back());
  EXPECT_EQ(mesh.SelectedNode(), nullptr);
}

TEST(MeshFile, TriangleWithACornerMatchingNoNodeIsDropped) {
  Bytes file = Header(3, 2);
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {10, 0, 10, 0});
  PutRecord(file, {0, 10, 0, 10});
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {10, 0, 10, 0});
  PutRecord(file, {0, 10, 0, 10});
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {10, 0, 10, 99});  // no such node
  PutRecord(file, {0, 10, 0, 10});
  PutNames(file, "", "");
  auto read = ReadMesh(file);
  ASSERT_TRUE(read.Ok()) << read.Message();
  EXPECT_EQ(read.Value().mesh.TriangleCount(), 1u);
  EXPECT_EQ(TriangleValues(read.Value().mesh),
            (std::vector<std::vector<Values>>{{{0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 0, 10}}}));
}

TEST(MeshFile, EveryTruncationReadsBeyondEnd) {
  auto full = WriteMesh(SmallMesh(), "first.bmp", "second.bmp");
  ASSERT_TRUE(full.Ok());
  ASSERT_TRUE(ReadMesh(full.Value()).Ok());
  for (std::size_t length = 0; length < full.Value().size(); ++length) {
    auto read = ReadMesh(full.Value().data(), length);
    ASSERT_FALSE(read.Ok()) << "prefix of " << length << " bytes";
    EXPECT_EQ(read.Message(), "Read beyond end of file") << "prefix of " << length << " bytes";
  }
}

TEST(MeshFile, TruncatedNodeRecordReadsBeyondEnd) {
  Bytes file = Header(2, 0);
  PutRecord(file, {1, 1, 1, 1});
  file.resize(file.size() + 5, 0);
  auto read = ReadMesh(file);
  ASSERT_FALSE(read.Ok());
  EXPECT_EQ(read.Message(), "Read beyond end of file");
}

TEST(MeshFile, CountsPromisingMoreRecordsThanTheFileHoldsReadBeyondEnd) {
  Bytes file = Header(65535, 65535);
  PutRecord(file, {0, 0, 0, 0});
  PutRecord(file, {0, 0, 0, 0});
  PutNames(file, "", "");
  auto read = ReadMesh(file);
  ASSERT_FALSE(read.Ok());
  EXPECT_EQ(read.Message(), "Read beyond end of file");
}

TEST(MeshFile, WrongSignatureIsAFormatError) {
  Bytes good = WriteMesh(Mesh(), "", "").Value();
  for (std::size_t at = 0; at < 7; ++at) {
    Bytes bad = good;
    bad[at] = static_cast<std::uint8_t>(bad[at] ^ 0x20);
    auto read = ReadMesh(bad);
    ASSERT_FALSE(read.Ok()) << "byte " << at;
    EXPECT_EQ(read.Message(), "Error in file format (required mesh 1.1)") << "byte " << at;
  }
  Bytes other_version = good;
  other_version[6] = '2';
  EXPECT_EQ(ReadMesh(other_version).Message(), "Error in file format (required mesh 1.1)");
}

TEST(MeshFile, HeaderIsReadBeforeTheSignatureIsChecked) {
  Bytes short_file = {'J', 'U', 'N', 'K'};
  EXPECT_EQ(ReadMesh(short_file).Message(), "Read beyond end of file");
  Bytes eleven(11, 'x');
  EXPECT_EQ(ReadMesh(eleven).Message(), "Error in file format (required mesh 1.1)");
}

TEST(MeshFile, BytesAfterTheSecondNameAreIgnored) {
  Bytes file = WriteMesh(SmallMesh(), "a", "b").Value();
  file.push_back('z');
  file.push_back('*');
  auto read = ReadMesh(file);
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(read.Value().second_file_name, "b");
  EXPECT_EQ(read.Value().mesh.TriangleCount(), 2u);
}

TEST(MeshFile, NamesKeepEveryByteButTheStar) {
  std::string first = "C:\\Bilder\\\xE4pfel.bmp";
  std::string second("x\0y.bmp", 7);
  auto bytes = WriteMesh(Mesh(), first, second);
  ASSERT_TRUE(bytes.Ok());
  auto read = ReadMesh(bytes.Value());
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(read.Value().first_file_name, first);
  EXPECT_EQ(read.Value().second_file_name, second);
}

TEST(MeshFile, NameWithAStarIsRefused) {
  auto bytes = WriteMesh(Mesh(), "a*b.bmp", "");
  ASSERT_FALSE(bytes.Ok());
  EXPECT_EQ(bytes.Message(),
            "The image file name \"a*b.bmp\" contains \"*\" and cannot be stored in a mesh file");
  EXPECT_FALSE(WriteMesh(Mesh(), "", "*").Ok());
}

TEST(MeshFile, MoreThan65535NodesOrTrianglesIsRefused) {
  Mesh nodes;
  for (int i = 0; i < 65535; ++i) nodes.AddNode(i, i);
  EXPECT_TRUE(WriteMesh(nodes, "", "").Ok());
  nodes.AddNode(-1, -1);
  auto refused = WriteMesh(nodes, "", "");
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(refused.Message(), "The mesh has 65536 nodes; a mesh file holds at most 65535");

  Mesh triangles;
  TMeshNode* n = triangles.AddNode(0, 0);
  for (int i = 0; i < 65536; ++i) triangles.PushTriangle(n, n, n);
  auto refused_triangles = WriteMesh(triangles, "", "");
  ASSERT_FALSE(refused_triangles.Ok());
  EXPECT_EQ(refused_triangles.Message(),
            "The mesh has 65536 triangles; a mesh file holds at most 65535");
}

TEST(MeshFile, LargestMeshRoundTrips) {
  Mesh mesh;
  for (int i = 0; i < 65535; ++i) mesh.AddNode(i % 1000, i / 1000);
  const TMeshNode* a = &mesh.NodeList().front();
  const TMeshNode* b = &mesh.NodeList().back();
  for (int i = 0; i < 65535; ++i) mesh.PushTriangle(a, b, a);
  auto bytes = WriteMesh(mesh, "", "");
  ASSERT_TRUE(bytes.Ok());
  EXPECT_EQ(bytes.Value().size(), 11u + 16u * 65537u + 48u * 65535u + 2u);
  auto read = ReadMesh(bytes.Value());
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(read.Value().mesh.NodeCount(), 65535u);
  EXPECT_EQ(read.Value().mesh.TriangleCount(), 65535u);
}

// Random meshes written and read back keep every value and every corner
// binding (corners rebound by values), with both lists reversed.
TEST(MeshFile, RandomMeshesRoundTripWithReversedLists) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-2000, 2000);
  for (int round = 0; round < 50; ++round) {
    Mesh mesh;
    int count = 3 + static_cast<int>(rng() % 30);
    for (int i = 0; i < count; ++i) {
      TMeshNode* n = mesh.AddNode(coord(rng), coord(rng));
      Mesh::SetPosition(*n, 2, coord(rng), coord(rng));
      if (rng() % 3 == 0) mesh.AddTriangle(coord(rng), coord(rng), 1, 5);
    }
    std::string name = "image";
    name += std::to_string(round);
    auto bytes = WriteMesh(mesh, name, "");
    ASSERT_TRUE(bytes.Ok());
    auto read = ReadMesh(bytes.Value());
    ASSERT_TRUE(read.Ok());
    auto nodes = NodeValues(mesh);
    EXPECT_EQ(NodeValues(read.Value().mesh), std::vector<Values>(nodes.rbegin(), nodes.rend()));
    auto triangles = TriangleValues(mesh);
    EXPECT_EQ(TriangleValues(read.Value().mesh),
              decltype(triangles)(triangles.rbegin(), triangles.rend()));
    EXPECT_EQ(read.Value().first_file_name, name);
  }
}

class MeshFileOnDisk : public testing_support::TempFolderTest {};

TEST_F(MeshFileOnDisk, WrittenFileReadsBack) {
  std::string name = PathOf("NoName.mesh");
  ASSERT_TRUE(WriteMeshFile(name, SmallMesh(), "a.bmp", "b.bmp").Ok());
  auto read = ReadMeshFile(name);
  ASSERT_TRUE(read.Ok()) << read.Message();
  EXPECT_EQ(read.Value().mesh.NodeCount(), 4u);
  EXPECT_EQ(read.Value().first_file_name, "a.bmp");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(MeshFileOnDisk, RefusedSaveLeavesThePreviousFile) {
  std::string name = PathOf("keep.mesh");
  ASSERT_TRUE(WriteMeshFile(name, SmallMesh(), "a.bmp", "b.bmp").Ok());
  auto before = ReadWholeFile(name);
  Status refused = WriteMeshFile(name, Mesh(), "bad*name", "");
  EXPECT_FALSE(refused.Ok());
  EXPECT_EQ(ReadWholeFile(name).Value(), before.Value());
  EXPECT_FALSE(WriteMeshFile(PathOf("no_folder/x.mesh"), Mesh(), "", "").Ok());
  EXPECT_FALSE(fs::exists(PathOf("no_folder")));
}

TEST_F(MeshFileOnDisk, MissingFileIsNotFound) {
  auto read = ReadMeshFile(PathOf("none.mesh"));
  ASSERT_FALSE(read.Ok());
  EXPECT_EQ(read.Message(), "File Not Found");
}

TEST(MeshFileName, SaveAsAppendsMeshUnlessTheNameContainsItInAnyCase) {
  EXPECT_EQ(SaveAsMeshFileName("a.txt"), "a.txt.mesh");
  EXPECT_EQ(SaveAsMeshFileName("a"), "a.mesh");
  EXPECT_EQ(SaveAsMeshFileName("a.mesh"), "a.mesh");
  EXPECT_EQ(SaveAsMeshFileName("a.mesh.bak"), "a.mesh.bak");
  EXPECT_EQ(SaveAsMeshFileName("/x/A.MeSh"), "/x/A.MeSh");
  EXPECT_EQ(SaveAsMeshFileName("a.mes"), "a.mes.mesh");
  EXPECT_EQ(SaveAsMeshFileName("amesh"), "amesh.mesh");
}

TEST(MeshFileName, CaptionIsTitleBlankFileName) {
  EXPECT_EQ(MeshWindowCaption("Trelvanique 1.1", kDefaultMeshFileName),
            "Trelvanique 1.1 NoName.mesh");
}

}  // namespace
}  // namespace vesk
