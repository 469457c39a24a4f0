// The mesh file (".mesh"): the whole mesh with its selection and the file
// names of the first and second image, as one little-endian byte stream:
//
//   0            1 byte   6, the signature's length
//   1            6 bytes  "MESH11"
//   7            2 bytes  N, node count (unsigned)
//   9            2 bytes  T, triangle count (unsigned)
//   11           16 N     node records: X1, Y1, X2, Y2 as signed 32-bit
//   11 + 16N     16       the previous node's record (zeros for none)
//   27 + 16N     16       the selected node's record (zeros for none)
//   43 + 16N     48 T     triangle records: the node records of A, B, C
//   then                  first image name, one byte a character, then '*'
//   then                  second image name, then '*'
//
// Lists are written newest first and read by inserting at the head, so a
// mesh read from a file lists its nodes and triangles in the reverse of the
// file's order; saving it again reverses them back. Triangle corners and the
// selection are bound to nodes by their four values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/mesh/mesh_model.h"

namespace vesk {

inline constexpr char kDefaultMeshFileName[] = "NoName.mesh";
inline constexpr char kMeshFileFilter[] = "Mesh Files|*.mesh|All Files|*.*";
inline constexpr char kMeshFormatMessage[] = "Error in file format (required mesh 1.1)";
inline constexpr char kReadBeyondEndMessage[] = "Read beyond end of file";
inline constexpr char kOverwriteQuestion[] = "Do you Want to overwrite ?";
inline constexpr char kSaveMeshQuestion[] = "Do you want to save the mesh ?";

// Byte sizes of the layout above.
inline constexpr std::size_t kMeshHeaderSize = 11;
inline constexpr std::size_t kMeshNodeRecordSize = 16;
inline constexpr std::size_t kMeshTriangleRecordSize = 48;

struct MeshFileContent {
  Mesh mesh;
  std::string first_file_name;
  std::string second_file_name;
};

// Reads a mesh file's bytes. Failures, each leaving no mesh:
//  - fewer bytes than the layout needs anywhere, or a name without its
//    closing '*': "Read beyond end of file";
//  - a first byte other than 6 or a signature other than "MESH11" (checked
//    once the 11 header bytes are there): "Error in file format (required
//    mesh 1.1)".
// Corners bind to the first node from the head (the last one in the file)
// with the same four values; a triangle with a corner matching no node is
// dropped. Each selection record selects the first node in the file with
// its values, or none. Bytes after the second '*' are ignored.
Result<MeshFileContent> ReadMesh(const std::uint8_t* data, std::size_t size);
Result<MeshFileContent> ReadMesh(const std::vector<std::uint8_t>& bytes);

// Reads the named file ("File Not Found" when it cannot be read).
Result<MeshFileContent> ReadMeshFile(const std::string& name);

// The file's bytes for `mesh` and the two image names (written byte for
// byte). Refused, with a message naming the reason, when the mesh has more
// than 65535 nodes or triangles or a name contains '*'.
Result<std::vector<std::uint8_t>> WriteMesh(const Mesh& mesh, const std::string& first_file_name,
                                            const std::string& second_file_name);

// Writes the file through a temporary file renamed into place: a refused or
// failed save leaves any previous file as it was. The overwrite question is
// the caller's (kOverwriteQuestion, asked when FileFound(name)).
Status WriteMeshFile(const std::string& name, const Mesh& mesh, const std::string& first_file_name,
                     const std::string& second_file_name);

// Save as: the chosen name is kept when its upper-case form contains
// ".MESH" anywhere (a.mesh, A.MeSh, a.mesh.bak); otherwise ".mesh" is
// appended (a.txt -> a.txt.mesh).
std::string SaveAsMeshFileName(const std::string& chosen);

// The main window's caption after New, Open and Save as: the title text,
// one blank, the mesh file name.
std::string MeshWindowCaption(const std::string& title_text, const std::string& mesh_file_name);

}  // namespace vesk
