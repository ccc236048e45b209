// The scene as one JSON object. Floats are written with nine significant
// digits, enough to read back the same single-precision value; values that
// are not finite are written as null.
#include "tools/sceneinfo/sceneinfo.h"

#include <cmath>

static void Float(FILE *out, float f) {
  if (std::isfinite(f)) fprintf(out, "%.9g", f);
  else fputs("null", out);
}

static void Floats(FILE *out, const float *f, int n) {
  fputc('[', out);
  for (int i = 0; i < n; i++) {
    if (i) fputc(',', out);
    Float(out, f[i]);
  }
  fputc(']', out);
}

static void Vector(FILE *out, const Vector3 &v) { Floats(out, &v.x, 3); }
static void Quat(FILE *out, const Quaternion &q) { Floats(out, &q.w, 4); }

// Bytes outside printable ASCII, quotes and backslashes are escaped.
static void String(FILE *out, const char *text, int length) {
  fputc('"', out);
  for (int i = 0; i < length; i++) {
    unsigned char c = (unsigned char)text[i];
    if (c == '"' || c == '\\') fprintf(out, "\\%c", c);
    else if (c < 0x20 || c >= 0x7F) fprintf(out, "\\u%04X", c);
    else fputc(c, out);
  }
  fputc('"', out);
}

static void Name(FILE *out, const ShortString &s) { String(out, s.Text, s.Length); }

static void Key(FILE *out, const char *key) { fprintf(out, "\"%s\":", key); }

static void VectorTrackJson(FILE *out, const VectorTrack &t) {
  fputc('[', out);
  for (uint32_t i = 0; i < t.KeyCount; i++) {
    const VectorKey &k = t.Keys[i];
    fprintf(out, "%s{\"frame\":%d,\"tension\":", i ? "," : "", k.Frame);
    Float(out, k.Tension);
    fputs(",\"value\":", out);
    Vector(out, k.Value);
    fputs(",\"tangent\":", out);
    Vector(out, k.Tangent);
    fputc('}', out);
  }
  fputc(']', out);
}

// Control quaternions exist only on prepared tracks: no incoming control on
// the first key, no outgoing one on the last.
static void RotationTrackJson(FILE *out, const RotationTrack &t) {
  fputc('[', out);
  bool prepared = t.KeyCount > 2;
  for (uint32_t i = 0; i < t.KeyCount; i++) {
    const RotationKey &k = t.Keys[i];
    fprintf(out, "%s{\"frame\":%d,\"rotation\":", i ? "," : "", k.Frame);
    Quat(out, k.Rotation);
    fputs(",\"inControl\":", out);
    if (prepared && i > 0) Quat(out, k.InControl);
    else fputs("null", out);
    fputs(",\"outControl\":", out);
    if (prepared && i + 1 < t.KeyCount) Quat(out, k.OutControl);
    else fputs("null", out);
    fputc('}', out);
  }
  fputc(']', out);
}

static void SampledVector(FILE *out, const VectorTrack &t, int32_t frame) {
  if (!t.KeyCount) {
    fputs("null", out);
    return;
  }
  Vector3 v{0, 0, 0};
  sampleVectorTrack(t, frame, v);
  Vector(out, v);
}

static void Geometry(FILE *out, const SceneObject &o) {
  fputs(",\"vertices\":[", out);
  for (uint32_t i = 0; i < o.VertexCount; i++) {
    if (i) fputc(',', out);
    Vector(out, o.Vertices[i]);
  }
  fputs("],\"texCoords\":[", out);
  for (uint32_t i = 0; i < o.VertexCount; i++) {
    if (i) fputc(',', out);
    Floats(out, o.TexCoords + 2 * i, 2);
  }
  fputs("],\"faces\":[", out);
  for (uint32_t i = 0; i < o.FaceCount; i++)
    fprintf(out, "%s[%u,%u,%u]", i ? "," : "", o.Faces[3 * i], o.Faces[3 * i + 1], o.Faces[3 * i + 2]);
  fputs("],\"faceFlags\":[", out);
  for (uint32_t i = 0; i < o.FaceCount; i++) fprintf(out, "%s%u", i ? "," : "", o.FaceFlags[i]);
  fputs("],\"faceNormals\":[", out);
  for (uint32_t i = 0; i < o.FaceCount; i++) {
    if (i) fputc(',', out);
    Vector(out, o.FaceNormals[i]);
  }
  fputs("],\"vertexNormals\":[", out);
  for (uint32_t i = 0; i < o.VertexCount; i++) {
    if (i) fputc(',', out);
    Vector(out, o.VertexNormals[i]);
  }
  fputc(']', out);
}

static void ObjectJson(FILE *out, const SceneObject &o, const SceneInfoOptions &options) {
  fputc('{', out);
  Key(out, "name");
  Name(out, o.Name);
  fputc(',', out);
  Key(out, "parentName");
  Name(out, o.ParentName);
  fprintf(out, ",\"parentIndex\":%u,\"isDummy\":%s,\"vertexCount\":%u,\"faceCount\":%u,", o.ParentIndex,
          o.IsDummy ? "true" : "false", o.VertexCount, o.FaceCount);
  Key(out, "meshMatrix");
  Floats(out, o.MeshMatrix.m, 16);
  fputc(',', out);
  Key(out, "meshMatrixInverse");
  Floats(out, o.MeshMatrixInverse.m, 16);
  fputc(',', out);
  Key(out, "meshOffset");
  Vector(out, o.MeshOffset);
  fputc(',', out);
  Key(out, "boundingCorners");
  if (o.IsDummy) {
    fputs("null", out);
  } else {
    fputc('[', out);
    for (int i = 0; i < 8; i++) {
      if (i) fputc(',', out);
      Vector(out, o.BoundingCorners[i]);
    }
    fputc(']', out);
  }
  fputc(',', out);
  Key(out, "positionTrack");
  VectorTrackJson(out, o.PositionTrack);
  fputc(',', out);
  Key(out, "scaleTrack");
  VectorTrackJson(out, o.ScaleTrack);
  fputc(',', out);
  Key(out, "rotationTrack");
  RotationTrackJson(out, o.RotationTrack);
  if (options.Geometry) Geometry(out, o);
  if (options.Sample) {
    fputs(",\"sample\":{\"position\":", out);
    SampledVector(out, o.PositionTrack, options.SampleFrame);
    fputs(",\"rotation\":", out);
    if (o.RotationTrack.KeyCount) {
      Quaternion q{1, 0, 0, 0};
      sampleRotationTrack(o.RotationTrack, options.SampleFrame, q);
      Quat(out, q);
    } else {
      fputs("null", out);
    }
    fputs(",\"scale\":", out);
    SampledVector(out, o.ScaleTrack, options.SampleFrame);
    fputc('}', out);
  }
  fputc('}', out);
}

static void CameraJson(FILE *out, const SceneCamera &c, const SceneInfoOptions &options) {
  fputc('{', out);
  Key(out, "name");
  Name(out, c.Name);
  fputs(",\"position\":", out);
  Vector(out, c.Position);
  fputs(",\"target\":", out);
  Vector(out, c.Target);
  fputs(",\"roll\":", out);
  Float(out, c.Roll);
  fputs(",\"lens\":", out);
  Float(out, c.Lens);
  fputs(",\"positionTrack\":", out);
  VectorTrackJson(out, c.PositionTrack);
  fputs(",\"targetTrack\":", out);
  VectorTrackJson(out, c.TargetTrack);
  fputs(",\"rollTrack\":", out);
  VectorTrackJson(out, c.RollTrack);
  if (options.Sample) {
    fputs(",\"sample\":{\"position\":", out);
    SampledVector(out, c.PositionTrack, options.SampleFrame);
    fputs(",\"target\":", out);
    SampledVector(out, c.TargetTrack, options.SampleFrame);
    fputs(",\"roll\":", out);
    if (c.RollTrack.KeyCount) {
      Vector3 roll{0, 0, 0};
      sampleVectorTrack(c.RollTrack, options.SampleFrame, roll);
      Float(out, roll.x);
    } else {
      fputs("null", out);
    }
    fputc('}', out);
  }
  fputc('}', out);
}

static void LightJson(FILE *out, const SceneLight &l, const SceneInfoOptions &options) {
  fputc('{', out);
  Key(out, "name");
  Name(out, l.Name);
  fputs(",\"position\":", out);
  Vector(out, l.Position);
  fputs(",\"colour\":", out);
  Floats(out, l.Colour, 3);
  fputs(",\"positionTrack\":", out);
  VectorTrackJson(out, l.PositionTrack);
  if (options.Sample) {
    fputs(",\"sample\":{\"position\":", out);
    SampledVector(out, l.PositionTrack, options.SampleFrame);
    fputc('}', out);
  }
  fputc('}', out);
}

void WriteSceneJson(FILE *out, const Scene &scene, const SceneInfoOptions &options) {
  fputc('{', out);
  Key(out, "file");
  Name(out, scene.FileName);
  fprintf(out, ",\"firstFrame\":%d,\"lastFrame\":%d,\"ambient\":", scene.FirstFrame, scene.LastFrame);
  Floats(out, scene.AmbientColour, 3);
  fprintf(out, ",\"activeCamera\":%u,\"lightCount\":%u,\"objects\":[", scene.ActiveCamera, scene.LightCount);
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    if (i) fputs(",\n", out);
    ObjectJson(out, scene.Objects[i], options);
  }
  fputs("],\"cameras\":[", out);
  for (uint32_t i = 0; i < scene.CameraCount; i++) {
    if (i) fputs(",\n", out);
    CameraJson(out, scene.Cameras[i], options);
  }
  fputs("],\"lights\":[", out);
  for (uint32_t i = 0; i < scene.LightCount; i++) {
    if (i) fputs(",\n", out);
    LightJson(out, scene.Lights[i], options);
  }
  fputs("]}\n", out);
}
