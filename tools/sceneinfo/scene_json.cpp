// The scene as one JSON object, written by nlohmann-json with the keys in
// the order below. Floats are held in single precision and written in the
// shortest form that reads back as the same value; values that are not
// finite are written as null. Names are bytes: each is taken as the
// character of that code (Latin-1) and written escaped, so that the output
// is plain ASCII.
#include "tools/sceneinfo/sceneinfo.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

static Json Floats(const float *f, int n) {
  Json a = Json::array();
  for (int i = 0; i < n; i++) a.push_back(f[i]);
  return a;
}

static Json Vector(const Vector3 &v) { return Floats(&v.x, 3); }
static Json Quat(const Quaternion &q) { return Floats(&q.w, 4); }

static Json Name(const ShortString &s) {
  std::string utf8;
  for (int i = 0; i < s.Length; i++) {
    unsigned char c = (unsigned char)s.Text[i];
    if (c < 0x80) {
      utf8 += (char)c;
    } else {
      utf8 += (char)(0xC0 | c >> 6);
      utf8 += (char)(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

static Json VectorTrackJson(const VectorTrack &t) {
  Json a = Json::array();
  for (uint32_t i = 0; i < t.KeyCount; i++) {
    const VectorKey &k = t.Keys[i];
    a.push_back({{"frame", k.Frame}, {"tension", k.Tension}, {"value", Vector(k.Value)}, {"tangent", Vector(k.Tangent)}});
  }
  return a;
}

// Control quaternions exist only on prepared tracks: no incoming control on
// the first key, no outgoing one on the last.
static Json RotationTrackJson(const RotationTrack &t) {
  Json a = Json::array();
  bool prepared = t.KeyCount > 2;
  for (uint32_t i = 0; i < t.KeyCount; i++) {
    const RotationKey &k = t.Keys[i];
    a.push_back({{"frame", k.Frame},
                 {"rotation", Quat(k.Rotation)},
                 {"inControl", prepared && i > 0 ? Quat(k.InControl) : Json()},
                 {"outControl", prepared && i + 1 < t.KeyCount ? Quat(k.OutControl) : Json()}});
  }
  return a;
}

static Json SampledVector(const VectorTrack &t, int32_t frame) {
  if (!t.KeyCount) return Json();
  Vector3 v{0, 0, 0};
  sampleVectorTrack(t, frame, v);
  return Vector(v);
}

static void Geometry(Json &j, const SceneObject &o) {
  Json vertices = Json::array(), texCoords = Json::array(), vertexNormals = Json::array();
  for (uint32_t i = 0; i < o.VertexCount; i++) {
    vertices.push_back(Vector(o.Vertices[i]));
    texCoords.push_back(Floats(o.TexCoords + 2 * i, 2));
    vertexNormals.push_back(Vector(o.VertexNormals[i]));
  }
  Json faces = Json::array(), faceFlags = Json::array(), faceNormals = Json::array();
  for (uint32_t i = 0; i < o.FaceCount; i++) {
    faces.push_back({o.Faces[3 * i], o.Faces[3 * i + 1], o.Faces[3 * i + 2]});
    faceFlags.push_back(o.FaceFlags[i]);
    faceNormals.push_back(Vector(o.FaceNormals[i]));
  }
  j["vertices"] = vertices;
  j["texCoords"] = texCoords;
  j["faces"] = faces;
  j["faceFlags"] = faceFlags;
  j["faceNormals"] = faceNormals;
  j["vertexNormals"] = vertexNormals;
}

static Json ObjectJson(const SceneObject &o, const SceneInfoOptions &options) {
  Json j = {{"name", Name(o.Name)},
            {"parentName", Name(o.ParentName)},
            {"parentIndex", o.ParentIndex},
            {"isDummy", o.IsDummy},
            {"vertexCount", o.VertexCount},
            {"faceCount", o.FaceCount},
            {"meshMatrix", Floats(o.MeshMatrix.m, 16)},
            {"meshMatrixInverse", Floats(o.MeshMatrixInverse.m, 16)},
            {"meshOffset", Vector(o.MeshOffset)}};
  Json corners;
  if (!o.IsDummy) {
    corners = Json::array();
    for (int i = 0; i < 8; i++) corners.push_back(Vector(o.BoundingCorners[i]));
  }
  j["boundingCorners"] = corners;
  j["positionTrack"] = VectorTrackJson(o.PositionTrack);
  j["scaleTrack"] = VectorTrackJson(o.ScaleTrack);
  j["rotationTrack"] = RotationTrackJson(o.RotationTrack);
  if (options.Geometry) Geometry(j, o);
  if (options.Sample) {
    Json rotation;
    if (o.RotationTrack.KeyCount) {
      Quaternion q{1, 0, 0, 0};
      sampleRotationTrack(o.RotationTrack, options.SampleFrame, q);
      rotation = Quat(q);
    }
    j["sample"] = {{"position", SampledVector(o.PositionTrack, options.SampleFrame)},
                   {"rotation", rotation},
                   {"scale", SampledVector(o.ScaleTrack, options.SampleFrame)}};
  }
  return j;
}

static Json CameraJson(const SceneCamera &c, const SceneInfoOptions &options) {
  Json j = {{"name", Name(c.Name)},
            {"position", Vector(c.Position)},
            {"target", Vector(c.Target)},
            {"roll", c.Roll},
            {"lens", c.Lens},
            {"positionTrack", VectorTrackJson(c.PositionTrack)},
            {"targetTrack", VectorTrackJson(c.TargetTrack)},
            {"rollTrack", VectorTrackJson(c.RollTrack)}};
  if (options.Sample) {
    Json roll;
    if (c.RollTrack.KeyCount) {
      Vector3 v{0, 0, 0};
      sampleVectorTrack(c.RollTrack, options.SampleFrame, v);
      roll = v.x;
    }
    j["sample"] = {{"position", SampledVector(c.PositionTrack, options.SampleFrame)},
                   {"target", SampledVector(c.TargetTrack, options.SampleFrame)},
                   {"roll", roll}};
  }
  return j;
}

static Json LightJson(const SceneLight &l, const SceneInfoOptions &options) {
  Json j = {{"name", Name(l.Name)},
            {"position", Vector(l.Position)},
            {"colour", Floats(l.Colour, 3)},
            {"positionTrack", VectorTrackJson(l.PositionTrack)}};
  if (options.Sample) j["sample"] = {{"position", SampledVector(l.PositionTrack, options.SampleFrame)}};
  return j;
}

void WriteSceneJson(FILE *out, const Scene &scene, const SceneInfoOptions &options) {
  Json objects = Json::array(), cameras = Json::array(), lights = Json::array();
  for (uint32_t i = 0; i < scene.ObjectCount; i++) objects.push_back(ObjectJson(scene.Objects[i], options));
  for (uint32_t i = 0; i < scene.CameraCount; i++) cameras.push_back(CameraJson(scene.Cameras[i], options));
  for (uint32_t i = 0; i < scene.LightCount; i++) lights.push_back(LightJson(scene.Lights[i], options));
  Json j = {{"file", Name(scene.FileName)},
            {"firstFrame", scene.FirstFrame},
            {"lastFrame", scene.LastFrame},
            {"ambient", Floats(scene.AmbientColour, 3)},
            {"activeCamera", scene.ActiveCamera},
            {"lightCount", scene.LightCount},
            {"objects", objects},
            {"cameras", cameras},
            {"lights", lights}};
  const std::string text = j.dump(-1, ' ', true);
  fputs(text.c_str(), out);
  fputc('\n', out);
}
