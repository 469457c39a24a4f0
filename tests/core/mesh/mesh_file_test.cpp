// The mesh file: exact bytes written, odd records read, every malformed file's message.
#include "core/mesh/mesh_file.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/common/file_io.h"
#include "tests/core/support/mesh_words.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

using namespace testing_support;  // the shared mesh words

const Values kA{0, 0, 1, -2}, kB{100, 0, 103, 4}, kC{50, 80, 50, 80}, kD{150, 80, 150, 80};

TEST(MeshFile, WriterPutsRecordsNewestFirstWithTheSelectionAfterTheNodes) {
  EXPECT_EQ(WriteMesh(SmallMesh(), "one", "two").Value(),
            File(4, 2, {kD, kC, kB, kA, kC, kD, kB, kC, kD, kA, kB, kC}, "one*two*"));
  Mesh single;
  Mesh::SetPosition(*single.AddNode(-3, 70000), 2, 258, -1);
  const Values n{-3, 70000, 258, -1};
  EXPECT_EQ(WriteMesh(single, "C:\\a.bmp", "").Value(), File(1, 0, {n, {}, n}, "C:\\a.bmp**"));
  EXPECT_EQ(WriteMesh(Mesh(), "", "").Value(), File(0, 0, {{}, {}}));  // 45 bytes
  // Reading reverses both lists: save, open, save gives them in the first order.
  auto opened = ReadMesh(File(4, 2, {kD, kC, kB, kA, kC, kD, kB, kC, kD, kA, kB, kC}, "x*y*"));
  ASSERT_TRUE(opened.Ok()) << opened.Message();
  const Bytes second = WriteMesh(opened.Value().mesh, opened.Value().first_file_name,
                                 opened.Value().second_file_name).Value();
  EXPECT_EQ(second, File(4, 2, {kA, kB, kC, kD, kC, kD, kA, kB, kC, kB, kC, kD}, "x*y*"));
}

TEST(MeshFile, ReadingBindsCornersAndSelectionByValue) {
  const Values five{5, 5, 5, 5}, nine{9, 9, 9, 9}, zero{}, other{1, 2, 3, 4};
  // Duplicates: every corner binds to the node read last, the head of the list.
  auto dup = ReadMesh(File(3, 1, {five, nine, five, zero, five, five, nine, five}, "a*b*zz*"));
  ASSERT_TRUE(dup.Ok());
  const Mesh& mesh = dup.Value().mesh;
  const TMeshTriangle& t = mesh.TriangleList().front();
  EXPECT_EQ(t.A, &mesh.NodeList().front());
  EXPECT_EQ(t.C, &mesh.NodeList().front());
  EXPECT_EQ(mesh.SelectedNode(), &mesh.NodeList().back());  // the first match in the file
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
  EXPECT_EQ(std::tie(dup.Value().first_file_name, dup.Value().second_file_name),
            std::make_tuple(std::string("a"), std::string("b")));  // "zz*" is ignored
  // A zero record selects a node at the origin; a corner matching no node drops its triangle.
  auto odd = ReadMesh(File(2, 2, {zero, nine, zero, other, zero, nine, nine, zero, other, nine}));
  ASSERT_TRUE(odd.Ok());
  EXPECT_EQ(odd.Value().mesh.PreviousNode(), &odd.Value().mesh.NodeList().back());
  EXPECT_EQ(odd.Value().mesh.SelectedNode(), nullptr);
  EXPECT_EQ(odd.Value().mesh.TriangleCount(), 1u);
}

TEST(MeshFile, MalformedFilesGiveTheirMessages) {
  const std::string beyond = "Read beyond end of file";
  const std::string format = "Error in file format (required mesh 1.1)";
  std::vector<std::tuple<std::string, Bytes, std::string>> rows = {
      {"counts promise more records", File(65535, 65535, {{}, {}}), beyond},
      {"JUNK", {'J', 'U', 'N', 'K'}, beyond},
      {"eleven x", Bytes(11, 'x'), format},
      {"version 1.2", File(0, 0, {{}, {}}), format}};
  std::get<1>(rows.back())[6] = '2';
  const Bytes good = WriteMesh(SmallMesh(), "first.bmp", "second.bmp").Value();
  for (std::size_t n = 0; n < good.size(); ++n) {
    rows.emplace_back("cut to " + std::to_string(n), Bytes(good.begin(), good.begin() + n), beyond);
  }
  for (std::size_t at = 0; at < 7; ++at) {
    Bytes bad = good;
    bad[at] ^= 0x20;  // "mesh11", "MESH11" with another length byte, ...
    rows.emplace_back("signature byte " + std::to_string(at), bad, format);
  }
  for (const auto& [name, bytes, message] : rows) {
    auto read = ReadMesh(bytes);
    ASSERT_FALSE(read.Ok()) << name;
    EXPECT_EQ(read.Message(), message) << name;
  }
}

TEST(MeshFile, WriterRefusesWhatCannotBeReadBack) {
  EXPECT_EQ(WriteMesh(Mesh(), "a*b.bmp", "").Message(),
            "The image file name \"a*b.bmp\" contains \"*\" and cannot be stored in a mesh file");
  EXPECT_FALSE(WriteMesh(Mesh(), "", "*").Ok());
  std::string bytes_name = "C:\\\xE4pfel.bmp";
  bytes_name += '\0';
  EXPECT_EQ(ReadMesh(WriteMesh(Mesh(), bytes_name, "").Value()).Value().first_file_name,
            bytes_name);
  Mesh big;
  for (int i = 0; i < 65535; ++i) big.AddNode(i % 1000, i / 1000);
  const TMeshNode* a = &big.NodeList().front();
  for (int i = 0; i < 65535; ++i) big.PushTriangle(a, a, a);
  auto largest = WriteMesh(big, "", "");
  ASSERT_TRUE(largest.Ok());
  EXPECT_EQ(ReadMesh(largest.Value()).Value().mesh.TriangleCount(), 65535u);
  big.PushTriangle(a, a, a);
  EXPECT_EQ(WriteMesh(big, "", "").Message(),
            "The mesh has 65536 triangles; a mesh file holds at most 65535");
  big.AddNode(-1, -1);
  EXPECT_EQ(WriteMesh(big, "", "").Message(),
            "The mesh has 65536 nodes; a mesh file holds at most 65535");
}

class MeshFileOnDisk : public testing_support::TempFolderTest {};

TEST_F(MeshFileOnDisk, SavedFileReadsBackAndARefusedSaveKeepsIt) {
  const std::string name = PathOf("keep.mesh");
  ASSERT_TRUE(WriteMeshFile(name, SmallMesh(), "a.bmp", "b.bmp").Ok());
  EXPECT_FALSE(WriteMeshFile(name, Mesh(), "bad*name", "").Ok());
  EXPECT_EQ(ReadMeshFile(name).Value().first_file_name, "a.bmp");
  EXPECT_EQ(ReadWholeFile(name).Value(), WriteMesh(SmallMesh(), "a.bmp", "b.bmp").Value());
  EXPECT_EQ(FilesInFolder(), 1);
  EXPECT_EQ(ReadMeshFile(PathOf("none.mesh")).Message(), "File Not Found");
  // Save as appends ".mesh" unless the name holds it in any case.
  for (auto [name, saved] : {std::pair{"a.txt", "a.txt.mesh"}, {"a", "a.mesh"},
                             {"a.mesh", "a.mesh"}, {"a.mesh.bak", "a.mesh.bak"},
                             {"/x/A.MeSh", "/x/A.MeSh"}, {"a.mes", "a.mes.mesh"},
                             {"amesh", "amesh.mesh"}}) {
    EXPECT_EQ(SaveAsMeshFileName(name), saved);
  }
  EXPECT_EQ(MeshWindowCaption("Trelvanique 1.1", kDefaultMeshFileName),
            "Trelvanique 1.1 NoName.mesh");
}

}  // namespace
}  // namespace vesk
