// The 3DS scene loader: walks the editor chunks into the scene's meshes,
// lights, cameras and ambient colour, and hands the keyframer section over.
//
// Each walker repeats: remember the position, read a chunk header, handle the
// chunk, seek to the remembered position plus the chunk's length. The editor
// walker runs to the end of the file data, so it meets the keyframer section
// that follows the editor section. The named-object and mesh walkers stop at
// the first identifier outside their range, and at the end of their chunk.
#include "scene/chunk_ids.h"
#include "scene/scene_reader.h"

#include <cstdlib>
#include <cstring>

static Vector3 ReadVector(DataFile &file) {
  Vector3 v;
  v.x = ReadFloat(file);
  v.y = ReadFloat(file);
  v.z = ReadFloat(file);
  return v;
}

// The colour chunk directly at the current position: only float colours are
// read; any other chunk leaves the last colour as it was.
static void ReadColour(SceneReader &reader) {
  uint16_t id = ReadU16(reader.File);
  ReadU32(reader.File);
  if (id == COLOR_F || id == LIN_COLOR_F) {
    for (int i = 0; i < 3; i++) reader.LastColour[i] = ReadFloat(reader.File);
  }
}

// A later point array replaces an earlier one of the same mesh.
static void ReadPointArray(SceneReader &reader, SceneObject &o) {
  DataFile &file = reader.File;
  uint32_t n = ElementsLeft(file, ReadU16(file), 12);
  free(o.Vertices);
  free(o.TexCoords);
  free(o.VertexNormals);
  o.Vertices = (Vector3 *)calloc(n + 1, sizeof(Vector3));
  o.TexCoords = (float *)calloc(n + 1, 2 * sizeof(float));
  o.VertexNormals = (Vector3 *)calloc(n + 1, sizeof(Vector3));
  o.VertexCount = 0;
  reader.VertexSlots = n;
  for (uint32_t i = 0; i < n && file.Position < file.Size; i++) {
    o.Vertices[o.VertexCount++] = ReadVector(file);
  }
}

static void ReadFaceArray(SceneReader &reader, SceneObject &o) {
  DataFile &file = reader.File;
  uint32_t m = ElementsLeft(file, ReadU16(file), 8);
  free(o.Faces);
  free(o.FaceFlags);
  free(o.FaceNormals);
  o.Faces = (uint32_t *)calloc(m + 1, 3 * sizeof(uint32_t));
  o.FaceFlags = (uint16_t *)calloc(m + 1, sizeof(uint16_t));
  o.FaceNormals = (Vector3 *)calloc(m + 1, sizeof(Vector3));
  o.FaceCount = 0;
  for (uint32_t i = 0; i < m && file.Position < file.Size; i++) {
    uint32_t *face = o.Faces + 3 * o.FaceCount;
    face[0] = ReadU16(file);
    face[1] = ReadU16(file);
    face[2] = ReadU16(file);
    o.FaceFlags[o.FaceCount++] = ReadU16(file);
  }
}

// Coordinates go into the arrays of the point array; those beyond its
// vertices, or before it, are read and dropped. v is negated.
static void ReadTexVerts(SceneReader &reader, SceneObject &o) {
  DataFile &file = reader.File;
  uint32_t k = ReadU16(file);
  for (uint32_t i = 0; i < k && file.Position < file.Size; i++) {
    float u = ReadFloat(file), v = ReadFloat(file);
    if (o.TexCoords && reader.TexCoordCount < reader.VertexSlots) {
      o.TexCoords[2 * reader.TexCoordCount] = u;
      o.TexCoords[2 * reader.TexCoordCount + 1] = -v;
    }
    reader.TexCoordCount++;
  }
}

static void ReadMeshMatrix(SceneReader &reader, SceneObject &o) {
  Vector3 x = ReadVector(reader.File), y = ReadVector(reader.File), z = ReadVector(reader.File);
  Vector3 origin = ReadVector(reader.File);
  o.MeshMatrix = Matrix16{{x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, 0, 0, 0, 1}};
  o.MeshOffset = Vector3{-origin.x, -origin.y, -origin.z};
  normalizeMeshAxes(o.MeshMatrix);
  o.MeshMatrixInverse = invertMeshMatrix(o.MeshMatrix);
}

// Faces with a corner at or beyond the vertex count are dropped.
static void DropBrokenFaces(SceneObject &o) {
  uint32_t kept = 0;
  for (uint32_t f = 0; f < o.FaceCount; f++) {
    const uint32_t *face = o.Faces + 3 * f;
    if (face[0] >= o.VertexCount || face[1] >= o.VertexCount || face[2] >= o.VertexCount) continue;
    memmove(o.Faces + 3 * kept, face, 3 * sizeof(uint32_t));
    o.FaceFlags[kept++] = o.FaceFlags[f];
  }
  o.FaceCount = kept;
}

static void ReadMesh(SceneReader &reader, const ChunkHeader &mesh) {
  Scene &scene = *reader.Target;
  DataFile &file = reader.File;
  SceneObject &created = NewSceneObject(reader);
  created.Name = reader.ObjectName;
  reader.TexCoordCount = 0;
  reader.VertexSlots = 0;
  uint32_t index = scene.ObjectCount;
  int32_t end = WalkEnd(file, mesh.End);
  while (file.Position < end) {
    SceneObject &o = scene.Objects[index];
    ChunkHeader chunk;
    bool sound = ReadChunkHeader(file, chunk);
    if (chunk.Id <= N_TRI_OBJECT || chunk.Id >= MESH_END || !sound) break;
    switch (chunk.Id) {
      case POINT_ARRAY: ReadPointArray(reader, o); break;
      case FACE_ARRAY: ReadFaceArray(reader, o); break;
      case TEX_VERTS: ReadTexVerts(reader, o); break;
      case MESH_MATRIX: ReadMeshMatrix(reader, o); break;
    }
    SeekData(file, chunk.End);
  }
  SceneObject &o = scene.Objects[index];
  DropBrokenFaces(o);
  computeFaceNormals(o);
  computeVertexNormals(o);
  computeBoundingCorners(o);
  scene.ObjectCount++;
}

static void ReadLight(SceneReader &reader) {
  Scene &scene = *reader.Target;
  Vector3 position = ReadVector(reader.File);
  SceneLight &l = NewSceneLight(reader);
  l.Position = position;
  l.Name = reader.ObjectName;
  ReadColour(reader);
  memcpy(l.Colour, reader.LastColour, sizeof l.Colour);
  scene.LightCount++;
}

static void ReadCamera(SceneReader &reader) {
  Scene &scene = *reader.Target;
  DataFile &file = reader.File;
  SceneCamera &c = NewSceneCamera(reader);
  c.Position = ReadVector(file);
  c.Target = ReadVector(file);
  c.Roll = ReadFloat(file);
  c.Lens = ReadFloat(file);
  c.Name = reader.ObjectName;
  scene.CameraCount++;
}

static void ReadNamedObject(SceneReader &reader, const ChunkHeader &named) {
  DataFile &file = reader.File;
  ReadName(file, reader.ObjectName);
  int32_t end = WalkEnd(file, named.End);
  while (file.Position < end) {
    ChunkHeader chunk;
    bool sound = ReadChunkHeader(file, chunk);
    if (chunk.Id <= NAMED_OBJECT || chunk.Id >= NAMED_OBJECT_END || !sound) return;
    switch (chunk.Id) {
      case N_TRI_OBJECT: ReadMesh(reader, chunk); break;
      case N_DIRECT_LIGHT: ReadLight(reader); break;
      case N_CAMERA: ReadCamera(reader); break;
    }
    SeekData(file, chunk.End);
  }
}

static void ReadEditor(SceneReader &reader) {
  DataFile &file = reader.File;
  while (file.Position < file.Size) {
    ChunkHeader chunk;
    if (!ReadChunkHeader(file, chunk)) return;
    switch (chunk.Id) {
      case AMBIENT_LIGHT:
        ReadColour(reader);
        memcpy(reader.Target->AmbientColour, reader.LastColour, sizeof reader.LastColour);
        break;
      case NAMED_OBJECT: ReadNamedObject(reader, chunk); break;
      case KFDATA:
        if (!reader.KeyframerDone) {
          reader.KeyframerDone = true;
          ReadKeyframer(reader);
        }
        break;
    }
    SeekData(file, chunk.End);
  }
}

// The chunks of the main chunk; only the editor section is entered.
static void ReadMain(SceneReader &reader) {
  DataFile &file = reader.File;
  while (file.Position < file.Size) {
    ChunkHeader chunk;
    if (!ReadChunkHeader(file, chunk)) return;
    if (chunk.Id == EDIT3DS && !reader.EditorDone) {
      reader.EditorDone = true;
      ReadEditor(reader);
    }
    SeekData(file, chunk.End);
  }
}

static void BeginScene(Scene &scene, const char *fileName) {
  memset(&scene, 0, sizeof scene);
  SetShortString(scene.FileName, fileName);
}

static void ReadScene(SceneReader &reader) {
  Scene &scene = *reader.Target;
  if (ReadU16(reader.File) == MAIN3DS) {
    ReadU32(reader.File);
    ReadMain(reader);
  }
  CloseDataFile(reader.File);
  // Lights beyond the eighth stay in the array, unused and without tracks.
  if (scene.LightCount > SCENE_MAX_LIGHTS) {
    for (uint32_t i = SCENE_MAX_LIGHTS; i < scene.LightCount; i++) TrackFree(scene.Lights[i].PositionTrack);
    scene.LightCount = SCENE_MAX_LIGHTS;
  }
}

void LoadScene(const char *fileName, Scene &scene) {
  BeginScene(scene, fileName);
  SceneReader reader{};
  reader.Target = &scene;
  OpenDataFile(reader.File, fileName);
  ReadScene(reader);
}

void LoadSceneMemory(const void *bytes, int32_t length, const char *fileName, Scene &scene) {
  BeginScene(scene, fileName);
  SceneReader reader{};
  reader.Target = &scene;
  OpenDataMemory(reader.File, bytes, length);
  ReadScene(reader);
}
