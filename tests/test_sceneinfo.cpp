// frosten-sceneinfo: the JSON schema, sampling, escaping, the summary and
// the one-line error for a file that cannot be read.
// frosten-test-links: base
#include "tests/chunk_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <vector>

// A small JSON reader: enough to check the tool's output is well formed and
// to look values up.
struct Json {
  enum Kind { Null, Bool, Number, String, Array, Object } Type = Null;
  double Value = 0;
  std::string Text;
  std::vector<Json> Items;
  std::vector<std::string> Keys;  // object members: Keys[i] names Values[i]
  std::vector<Json> Values;

  const Json &operator[](const std::string &key) const {
    for (size_t i = 0; i < Keys.size(); i++)
      if (Keys[i] == key) return Values[i];
    static Json missing;
    ADD_FAILURE() << "no member " << key;
    return missing;
  }
  const Json &operator[](size_t i) const { return Items.at(i); }
  bool Has(const std::string &key) const {
    for (auto &k : Keys)
      if (k == key) return true;
    return false;
  }
};

struct JsonParser {
  const char *P;
  bool Failed = false;
  void Space() {
    while (*P == ' ' || *P == '\n' || *P == '\t' || *P == '\r') P++;
  }
  bool Eat(char c) {
    Space();
    if (*P != c) return false;
    P++;
    return true;
  }
  std::string ParseString() {
    std::string s;
    if (!Eat('"')) {
      Failed = true;
      return s;
    }
    while (*P && *P != '"') {
      if ((unsigned char)*P < 0x20 || (unsigned char)*P >= 0x80) Failed = true;
      if (*P == '\\') {
        P++;
        if (*P == 'u') {
          s += (char)strtol(std::string(P + 1, 4).c_str(), nullptr, 16);
          P += 5;
          continue;
        }
      }
      s += *P++;
    }
    if (!Eat('"')) Failed = true;
    return s;
  }
  Json Parse() {
    Json j;
    Space();
    if (*P == '{') {
      P++;
      j.Type = Json::Object;
      if (Eat('}')) return j;
      do {
        std::string key = ParseString();
        if (!Eat(':')) Failed = true;
        j.Keys.push_back(key);
        j.Values.push_back(Parse());
      } while (!Failed && Eat(','));
      if (!Eat('}')) Failed = true;
    } else if (*P == '[') {
      P++;
      j.Type = Json::Array;
      if (Eat(']')) return j;
      do j.Items.push_back(Parse());
      while (!Failed && Eat(','));
      if (!Eat(']')) Failed = true;
    } else if (*P == '"') {
      j.Type = Json::String;
      j.Text = ParseString();
    } else if (!strncmp(P, "null", 4)) {
      P += 4;
    } else if (!strncmp(P, "true", 4) || !strncmp(P, "false", 5)) {
      j.Type = Json::Bool;
      j.Value = *P == 't';
      P += *P == 't' ? 4 : 5;
    } else {
      char *end;
      j.Type = Json::Number;
      j.Value = strtod(P, &end);
      if (end == P) Failed = true;
      P = end;
    }
    return j;
  }
};

static std::string RunTool(const std::string &arguments, int &status) {
  std::string command = std::string(FROSTEN_BINARY_DIR) + "/tools/sceneinfo/frosten-sceneinfo " + arguments + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  status = pclose(pipe);
  status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

static Json RunJson(const std::string &arguments) {
  int status;
  std::string out = RunTool(arguments, status);
  EXPECT_EQ(status, 0) << out;
  JsonParser parser{out.c_str()};
  Json j = parser.Parse();
  parser.Space();
  EXPECT_FALSE(parser.Failed) << out;
  EXPECT_EQ(*parser.P, 0) << out;
  return j;
}

// A scene with a mesh, a named dummy, a camera and a light, all animated.
static std::string WriteScene() {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(AMBIENT_LIGHT);
  w.ColourF(0.25f, 0.5f, 0.75f);
  w.End();
  w.Begin(NAMED_OBJECT);
  w.Name("Kugel\xE4");
  w.Begin(N_TRI_OBJECT);
  w.Points({0, 0, 0, 1, 0, 0, 0, 1, 0});
  w.Begin(TEX_VERTS);
  w.U16(3);
  w.Floats({0, 0, 1, 0.5f, 0, 1});
  w.End();
  w.FaceList({0, 1, 2});
  w.MeshMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  w.End();
  w.End();
  w.Begin(NAMED_OBJECT);
  w.Name("Cam");
  w.Begin(N_CAMERA);
  w.Floats({0, -10, 0, 0, 0, 0, 0, 35});
  w.End();
  w.End();
  w.Begin(NAMED_OBJECT);
  w.Name("Lamp \"1\"");
  w.Begin(N_DIRECT_LIGHT);
  w.Floats({1, 2, 3});
  w.ColourF(1, 0.5f, 0);
  w.End();
  w.End();
  w.End();
  w.Begin(KFDATA);
  w.Begin(KFSEG);
  w.U32(0);
  w.U32(100);
  w.End();
  w.Begin(OBJECT_NODE_TAG);
  w.NodeHeader("$$$DUMMY", 0xFFFF);
  w.Begin(INSTANCE_NAME);
  w.Name("Group");
  w.End();
  w.TrackHeader(POS_TRACK_TAG, 2);
  w.U32(0);
  w.U16(0);
  w.Floats({0, 0, 0});
  w.U32(10);
  w.U16(0);
  w.Floats({10, 20, 30});
  w.End();
  w.End();
  w.Begin(OBJECT_NODE_TAG);
  w.NodeHeader("Kugel\xE4", 0);
  w.TrackHeader(ROT_TRACK_TAG, 3);
  for (int i = 0; i < 3; i++) {
    w.U32(10 * i);
    w.U16(0);
    w.Floats({i ? 1.5707964f : 0, 0, 0, 1});
  }
  w.End();
  w.End();
  w.Begin(CAMERA_NODE_TAG);
  w.NodeHeader("Cam", 0xFFFF);
  w.TrackHeader(ROLL_TRACK_TAG, 1);
  w.U32(0);
  w.U16(0);
  w.F32(12);
  w.End();
  w.End();
  w.End();
  w.End();
  std::string path = std::string(FROSTEN_BINARY_DIR) + "/sceneinfo_test.3ds";
  FILE *f = fopen(path.c_str(), "wb");
  fwrite(w.Bytes.data(), 1, w.Bytes.size(), f);
  fclose(f);
  return path;
}

TEST(SceneInfo, JsonSchemaAndValues) {
  std::string path = WriteScene();
  Json j = RunJson("--json " + path);
  ASSERT_EQ(j.Type, Json::Object);
  EXPECT_EQ(j.Keys, (std::vector<std::string>{"file", "firstFrame", "lastFrame", "ambient", "activeCamera", "lightCount",
                                            "objects", "cameras", "lights"}));
  EXPECT_EQ(j["file"].Text, path);
  EXPECT_EQ(j["lastFrame"].Value, 100);
  EXPECT_EQ(j["ambient"][2].Value, 0.75);
  EXPECT_EQ(j["lightCount"].Value, 1);
  ASSERT_EQ(j["objects"].Items.size(), 2u);
  const Json &mesh = j["objects"][0];
  EXPECT_EQ(mesh.Keys,
            (std::vector<std::string>{"name", "parentName", "parentIndex", "isDummy", "vertexCount", "faceCount",
                                      "meshMatrix", "meshMatrixInverse", "meshOffset", "boundingCorners",
                                      "positionTrack", "scaleTrack", "rotationTrack"}));
  EXPECT_EQ(mesh["name"].Text, "Kugel\xE4");
  EXPECT_EQ(mesh["parentName"].Text, "Group");
  EXPECT_EQ(mesh["meshMatrix"].Items.size(), 16u);
  EXPECT_EQ(mesh["boundingCorners"].Items.size(), 8u);
  EXPECT_EQ(mesh["boundingCorners"][7][1].Value, 1);
  const Json &rotation = mesh["rotationTrack"];
  ASSERT_EQ(rotation.Items.size(), 3u);
  EXPECT_EQ(rotation[0]["inControl"].Type, Json::Null);
  EXPECT_EQ(rotation[0]["outControl"].Items.size(), 4u);
  EXPECT_EQ(rotation[2]["outControl"].Type, Json::Null);
  EXPECT_NEAR(rotation[2]["rotation"][0].Value, 0, 1e-6);  // 180 degrees about z
  EXPECT_NEAR(rotation[2]["rotation"][3].Value, 1, 1e-6);
  const Json &group = j["objects"][1];
  EXPECT_EQ(group["name"].Text, "Group");
  EXPECT_EQ(group["isDummy"].Type, Json::Bool);
  EXPECT_EQ(group["isDummy"].Value, 1);
  EXPECT_EQ(group["boundingCorners"].Type, Json::Null);
  EXPECT_EQ(group["positionTrack"][1]["value"][2].Value, 30);
  EXPECT_EQ(group["positionTrack"][1]["tension"].Value, 0.5);
  const Json &camera = j["cameras"][0];
  EXPECT_EQ(camera["lens"].Value, 35);
  EXPECT_EQ(camera["rollTrack"][0]["value"][0].Value, 12);
  EXPECT_TRUE(camera.Has("targetTrack"));
  const Json &light = j["lights"][0];
  EXPECT_EQ(light["name"].Text, "Lamp \"1\"");
  EXPECT_EQ(light["colour"][1].Value, 0.5);
  EXPECT_FALSE(mesh.Has("vertices"));
  EXPECT_FALSE(mesh.Has("sample"));
}

TEST(SceneInfo, GeometryAndSamples) {
  std::string path = WriteScene();
  Json j = RunJson("--json --geometry --sample 5 " + path);
  const Json &mesh = j["objects"][0];
  EXPECT_EQ(mesh["vertices"].Items.size(), 3u);
  EXPECT_EQ(mesh["texCoords"][1][0].Value, 1);
  EXPECT_EQ(mesh["texCoords"][2][1].Value, -1);
  EXPECT_EQ(mesh["faces"][0][2].Value, 2);
  EXPECT_EQ(mesh["faceFlags"][0].Value, 7);
  EXPECT_EQ(mesh["faceNormals"][0][2].Value, 1);
  EXPECT_EQ(mesh["vertexNormals"][1][2].Value, 1);
  EXPECT_EQ(mesh["sample"]["position"].Type, Json::Null);
  EXPECT_EQ(mesh["sample"]["scale"].Type, Json::Null);
  EXPECT_NEAR(mesh["sample"]["rotation"][3].Value, 0.38268343, 1e-5);  // 45 degrees about z
  const Json &group = j["objects"][1];
  EXPECT_EQ(group["sample"]["position"][1].Value, 10);
  EXPECT_EQ(j["cameras"][0]["sample"]["roll"].Value, 12);
  EXPECT_EQ(j["cameras"][0]["sample"]["target"].Type, Json::Null);
  EXPECT_EQ(j["lights"][0]["sample"]["position"].Type, Json::Null);
}

TEST(SceneInfo, SummaryTree) {
  int status;
  std::string out = RunTool(WriteScene(), status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("frames 0 to 100"), std::string::npos) << out;
  EXPECT_NE(out.find("\n  Group [dummy, 2 position keys]\n    Kugel"), std::string::npos) << out;
  EXPECT_NE(out.find("Cam (active)"), std::string::npos) << out;
  EXPECT_NE(out.find("1 light\n"), std::string::npos) << out;
}

TEST(SceneInfo, UnreadableFileAndBadArguments) {
  int status;
  std::string out = RunTool("--json /nonexistent/scene.3ds", status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
  EXPECT_NE(out.find("/nonexistent/scene.3ds"), std::string::npos);
  out = RunTool("--sample", status);
  EXPECT_EQ(status, 2);
  out = RunTool("--sample x " + WriteScene(), status);
  EXPECT_EQ(status, 2);
}

// A directory, a device and a file without the 3DS header are refused, each
// with what it is, in one line that names the path once.
TEST(SceneInfo, FileThatIsNotAScene) {
  const std::string notScene = std::string(FROSTEN_SOURCE_DIR) + "/tests/data/cube.obj";
  const std::pair<std::string, std::string> cases[] = {
      {notScene, "not a 3DS file (no 0x4D4D header)"},
      {FROSTEN_SOURCE_DIR, "is a directory"},
      {"/dev/null", "is not a regular file"},
  };
  for (const auto &[path, reason] : cases) {
    int status;
    std::string out = RunTool("--json " + path, status);
    EXPECT_EQ(status, 1) << path;
    EXPECT_EQ(out, "frosten-sceneinfo: " + path + ": " + reason + "\n");
  }
}
