// The binary .ddd file: byte layout, round trips of built objects, damaged
// files and failed writes.
#include "model_fixture.h"
#include "models/ddd_file.h"
#include "models/mesh_packing.h"
#include "models/object_loading.h"

namespace {

// Slot n gets an object of three runs (strip, fan, list) in three colours
// with texture coordinates.
void BuildMixed(Lumenar3D* e, int n) {
  ObjStart(e, n, 1);
  const float strip[][3] = {{0, 0, 0}, {1, 0, 0.5f}, {0, 1, 0}, {1, 1, 0.25f}, {2, 1, 1}};
  for (auto& p : strip) ObjAddVertex(e, p[0], p[1], p[2], p[0] * 0.5f, p[1] * 0.5f, 0x0000FF);
  ObjStartGroup(e, 2);
  const float fan[][3] = {{3, 3, 3}, {2, 2, 2}, {4, 2, 2}, {4, 4, 2}, {2, 4, 2}};
  for (auto& p : fan) ObjAddVertex(e, p[0], p[1], p[2], 0.25f, 0.75f, 0x00FF00);
  ObjStartGroup(e, 0);
  const float list[][3] = {{-1, -1, -1}, {-2, 0, 0}, {0, -2, 1}, {5, 5, 5}, {4, 5, 5}, {5, 4, 5}};
  for (auto& p : list) ObjAddVertex(e, p[0], p[1], p[2], p[2], p[0], 0xFF8040);
  ObjEnd(e);
}

void ExpectSameVertex(const MeshVertex& a, const MeshVertex& b, int i) {
  EXPECT_EQ(a.x, b.x) << i;
  EXPECT_EQ(a.y, b.y) << i;
  EXPECT_EQ(a.z, b.z) << i;
  EXPECT_EQ(a.nx, b.nx) << i;
  EXPECT_EQ(a.ny, b.ny) << i;
  EXPECT_EQ(a.nz, b.nz) << i;
  EXPECT_EQ(a.u, b.u) << i;
  EXPECT_EQ(a.v, b.v) << i;
  EXPECT_EQ(a.colour, b.colour) << i;
  EXPECT_EQ(a.colourIndex, b.colourIndex) << i;
  EXPECT_EQ(a.r, b.r) << i;
}

}  // namespace

using DddFile = ModelFixture;

TEST_F(DddFile, BuiltObjectsComeBackVertexForVertex) {
  BuildMixed(engine_, 1);
  ASSERT_EQ(SaveObject(engine_, "mixed.ddd", 1), 1);
  ASSERT_EQ(LoadObject(engine_, "mixed.ddd", 2), 1);
  const MeshObjectX& a = Part(1);
  const MeshObjectX& b = Part(2);
  EXPECT_EQ(Slot(2).inUse, 1);
  EXPECT_EQ(Slot(2).multiPart, 0);
  EXPECT_EQ(b.normalsReady, 1u);
  ASSERT_EQ(b.palette.count, a.palette.count);
  for (int32_t i = 0; i < a.palette.count; ++i) EXPECT_EQ(b.palette.data[i], a.palette.data[i]);
  ASSERT_EQ(b.texU.count, a.texU.count);
  for (int32_t i = 0; i < a.texU.count; ++i) {
    EXPECT_EQ(b.texU.data[i], a.texU.data[i]);
    EXPECT_EQ(b.texV.data[i], a.texV.data[i]);
  }
  ASSERT_EQ(b.frames.count, 1);
  const MeshFrame &fa = a.frames.data[0], &fb = b.frames.data[0];
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(fb.offset[k], fa.offset[k]);
    EXPECT_EQ(fb.scale[k], fa.scale[k]);
    EXPECT_EQ(fb.centre[k], fa.centre[k]);
  }
  EXPECT_EQ(fb.radius, fa.radius);
  ASSERT_EQ(fb.packed.count, fa.packed.count);
  for (int32_t i = 0; i < fa.packed.count; ++i) {
    const PackedVertex &p = fa.packed.data[i], &q = fb.packed.data[i];
    EXPECT_EQ(std::vector<int>({q.x, q.y, q.z, q.normalIndex, q.colourIndex}),
              std::vector<int>({p.x, p.y, p.z, p.normalIndex, p.colourIndex}))
        << i;
  }
  // 3 strip + 3 fan + 2 list triangles, drawn the same from the file.
  ASSERT_EQ(a.drawVertices.count, 24);
  ASSERT_EQ(b.drawVertices.count, 24);
  for (int32_t i = 0; i < 24; ++i) ExpectSameVertex(a.drawVertices.data[i], b.drawVertices.data[i], i);
  // The loaded tables grow by exactly what they need.
  EXPECT_EQ(b.palette.growStep, 1);
  EXPECT_EQ(b.frames.capacity, 1);
  EXPECT_EQ(b.texU.capacity, b.texU.count + 1);
}

TEST_F(DddFile, LayoutIsLittleEndianFieldByField) {
  MeshObjectX mesh;
  GrowArrayAppend(mesh.palette, 0xFFFFFFFFu);
  GrowArrayAppend(mesh.palette, 0x00112233u);
  for (float u : {0.5f, 1.0f, -2.0f}) {
    GrowArrayAppend(mesh.texU, u);
    GrowArrayAppend(mesh.texV, u * 2);
  }
  for (int f = 0; f < 2; ++f) {
    MeshFrame frame;
    frame.offset[1] = -3.0f;
    frame.scale[2] = 0.5f;
    GrowArrayAppend(frame.packed, PackedVertex{0, 0, 0, 0, 9, 9, 0});
    GrowArrayAppend(frame.packed, PackedVertex{1, 2, 3, 161, 9, 9, 1});
    GrowArrayAppend(frame.packed, PackedVertex{255, uint8_t(f), 7, 5, 9, 9, 1});
    GrowArrayAppend(mesh.frames, frame);
  }
  ASSERT_EQ(WriteDdd(&mesh, "sub/../layout.ddd"), 0);  // no folder "sub"
  ASSERT_EQ(WriteDdd(&mesh, "layout.ddd"), 1);
  Bytes want;
  want.Header(2, 2, 3).U32(0xFFFFFFFFu).U32(0x00112233u);
  want.F32(0.5f).F32(1.0f).F32(1.0f).F32(2.0f).F32(-2.0f).F32(-4.0f);
  for (int f = 0; f < 2; ++f) {
    want.U32(3).F32(0).F32(-3.0f).F32(0).F32(0).F32(0).F32(0.5f);
    want.U8({0, 0, 0, 0, 0, 1, 2, 3, 161, 1, 255, f, 7, 5, 1});
  }
  std::string file = Read("layout.ddd");
  EXPECT_EQ(file.size(), 142u);
  EXPECT_EQ(file, want.s);
  EXPECT_EQ(file.substr(0, 12), std::string("\x17\xB3\xC6\x00\x52\xB8\x1E\x85\xEB\x51\xF0\x3F", 12));

  // Read back with expanded vertices: tangents come back 0, lists empty.
  MeshObjectX back;
  ASSERT_EQ(ReadDdd(&back, "layout.ddd", true), 1);
  ASSERT_EQ(back.frames.count, 2);
  EXPECT_EQ(back.frames.data[1].packed.data[2].y, 1);
  EXPECT_EQ(back.frames.data[1].packed.data[2].tangentIndex, 0);
  ASSERT_EQ(back.frames.data[0].built.count, 3);
  EXPECT_EQ(back.frames.data[0].built.data[0].colour, 0xFFFFFFFFu);
  EXPECT_EQ(back.frames.data[0].built.data[1].v, -2.0f);
  EXPECT_EQ(back.frames.data[0].triangles.count, 0);
}

TEST_F(DddFile, NamesInOtherSeparatorsAndLetterCaseOpen) {
  BuildMixed(engine_, 0);
  std::filesystem::create_directories("Models");
  ASSERT_EQ(SaveObject(engine_, "Models/Box.ddd", 0), 1);
  for (const char* name : {"Models/Box.ddd", "Models\\Box.ddd", "MODELS\\box.DDD", "models/BOX.ddd"}) {
    MeshObjectX mesh;
    EXPECT_EQ(ReadDdd(&mesh, name, false), 1) << name;
    EXPECT_EQ(mesh.frames.count, 1) << name;
  }
  MeshObjectX mesh;
  EXPECT_EQ(ReadDdd(&mesh, "Models/Boxes.ddd", false), 0);
}

TEST_F(DddFile, DamagedFilesAreRefusedAndLeaveNothing) {
  BuildMixed(engine_, 0);
  ASSERT_EQ(SaveObject(engine_, "good.ddd", 0), 1);
  const std::string good = Read("good.ddd");
  const uint32_t colours = uint32_t(Part(0).palette.count);
  const uint32_t pairs = uint32_t(Part(0).texU.count);
  const size_t firstVertex = 24 + 4 * colours + 8 * pairs + 28;
  auto patched = [&](size_t at, std::initializer_list<int> bytes) {
    std::string s = good;
    for (int b : bytes) s[at++] = char(b);
    return s;
  };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"huge frame count", patched(12, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"huge colour count", patched(16, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"huge pair count", patched(20, {0x00, 0x00, 0x00, 0x40})},
      {"huge vertex count", patched(firstVertex - 28, {0xFF, 0xFF, 0xFF, 0x0F})},
      {"vertex count above the pairs", patched(firstVertex - 28, {int(pairs + 1), 0, 0, 0})},
      {"normal index 162", patched(firstVertex + 5 + 3, {162})},
      {"colour index past the palette", patched(firstVertex + 5 + 4, {int(colours)})},
      {"two frames announced", patched(12, {2, 0, 0, 0})},
      {"version 1.0200000001", Bytes().Header(0, 0, 0, 1.0200000001).s},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(ErrorLogPath());
    Write("bad.ddd", c.bytes);
    ASSERT_EQ(LoadObject(engine_, "bad.ddd", 3), 0) << c.what;
    EXPECT_EQ(Slot(3).inUse, 0) << c.what;
    ASSERT_EQ(Slot(3).parts.count, 1) << c.what;
    EXPECT_EQ(Part(3).frames.count, 0) << c.what;
    EXPECT_EQ(Part(3).palette.count, 0) << c.what;
    EXPECT_EQ(Part(3).texU.count, 0) << c.what;
    std::string log = ErrorLog();
    EXPECT_NE(log.find("# read error\r\nbad.ddd\r\n"), std::string::npos) << c.what << ": " << log;
    EXPECT_EQ(log.find("Wrong .ddd version.") != std::string::npos,
              std::string(c.what).rfind("version", 0) == 0)
        << c.what;
  }
  // Cut anywhere: refused, whatever part of the file is missing.
  for (size_t n = 0; n < good.size(); ++n) {
    MeshObjectX mesh;
    ASSERT_EQ(ReadDddBytes(&mesh, reinterpret_cast<const uint8_t*>(good.data()), n, "cut", false), 0)
        << n;
    ASSERT_EQ(mesh.frames.count, 0) << n;
  }
}

TEST_F(DddFile, EmptyFramesLoadButMakeNoObject) {
  Write("none.ddd", Bytes().Header(0, 0, 0).s);
  MeshObjectX mesh;
  EXPECT_EQ(ReadDdd(&mesh, "none.ddd", false), 1);
  EXPECT_EQ(mesh.normalsReady, 1u);
  EXPECT_EQ(LoadObject(engine_, "none.ddd", 0), 0);
  EXPECT_EQ(LoadObject(engine_, "missing.ddd", 0), 0);
  EXPECT_EQ(Slot(0).inUse, 0);
  EXPECT_EQ(Slot(0).parts.count, 1);
  // A frame without vertices is no object either.
  Write("empty.ddd", Bytes().Header(1, 0, 0).FrameHeader(0).s);
  EXPECT_EQ(LoadObject(engine_, "empty.ddd", 0), 0);
  // Fewer than four bytes are never a scene.
  Write("short.ddd", ";DD");
  EXPECT_EQ(LoadObject(engine_, "short.ddd", 0), 0);
  EXPECT_EQ(Slot(0).multiPart, 0);
}

TEST_F(DddFile, SparePairsLoadButTooFewAreRefused) {
  // One frame of a list marker and a triangle: four packed vertices.
  auto file = [](uint32_t pairs) {
    Bytes b;
    b.Header(1, 2, pairs).U32(ListMarker).U32(0x0000FF);
    for (uint32_t i = 0; i < pairs; ++i) b.F32(0.125f * float(i)).F32(0.5f);
    b.FrameHeader(4).U8({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 9, 0, 0, 0, 1, 0, 9, 0, 0, 1});
    return b.s;
  };
  Write("spare.ddd", file(6));
  ASSERT_EQ(LoadObject(engine_, "spare.ddd", 0), 1);
  EXPECT_EQ(Part(0).texU.count, 6);
  ASSERT_EQ(Part(0).drawVertices.count, 3);
  EXPECT_EQ(Part(0).drawVertices.data[2].u, 0.375f);  // pair 3 of packed vertex 3
  EXPECT_EQ(Part(0).drawVertices.data[2].v, -0.5f);
  // Saved again, the spare pairs stay.
  ASSERT_EQ(SaveObject(engine_, "again.ddd", 0), 1);
  EXPECT_EQ(Read("again.ddd"), Read("spare.ddd"));
  Write("exact.ddd", file(4));
  EXPECT_EQ(LoadObject(engine_, "exact.ddd", 1), 1);
  std::filesystem::remove(ErrorLogPath());
  Write("short.ddd", file(3));
  EXPECT_EQ(LoadObject(engine_, "short.ddd", 2), 0);
  EXPECT_EQ(Part(2).frames.count, 0);
  EXPECT_EQ(ErrorLog(), "# read error\r\nshort.ddd\r\n");
}

TEST_F(DddFile, ThreeHundredColoursGetCapacity301) {
  Bytes b;
  b.Header(1, 300, 3);
  for (uint32_t i = 0; i < 300; ++i) b.U32(i == 0 ? ListMarker : i);
  for (int i = 0; i < 6; ++i) b.F32(0);
  b.FrameHeader(3).U8({0, 0, 0, 0, 250, 9, 0, 0, 0, 250, 0, 9, 0, 0, 250});
  Write("many.ddd", b.s);
  ASSERT_EQ(LoadObject(engine_, "many.ddd", 0), 1);
  EXPECT_EQ(Part(0).palette.count, 300);
  EXPECT_EQ(Part(0).palette.capacity, 301);
  EXPECT_EQ(Part(0).drawVertices.count, 3);
  EXPECT_EQ(Part(0).drawVertices.data[0].colour, 250u);
}

TEST_F(DddFile, SaveReportsFailedWrites) {
  BuildMixed(engine_, 0);
  EXPECT_EQ(SaveObject(engine_, "no/such/folder/x.ddd", 0), 0);
  EXPECT_EQ(SaveObject(engine_, "x.ddd", 9), 0);  // slot without a part
  EXPECT_EQ(SaveObject(engine_, "x.ddd", -1), 0);
  EXPECT_FALSE(std::filesystem::exists("x.ddd"));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(SaveObject(engine_, "/dev/full", 0), 0);
  }
  // A good write replaces what was there.
  Write("x.ddd", std::string(5000, 'z'));
  EXPECT_EQ(SaveObject(engine_, "x.ddd", 0), 1);
  EXPECT_EQ(Read("x.ddd").substr(0, 4), std::string("\x17\xB3\xC6\x00", 4));
}
