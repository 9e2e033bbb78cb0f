#pragma once

namespace vardel::graphics3d {

class Appearance;
class Buffer;
class CallList;
class Camera;
class ColourMaterial;
class ConstantList;
class Context;
class DynamicModel;
class Extensions;
class FrameBuffer;
class IndexBuffer;
class IndexMesh;
class Light;
class LightStack;
class Material;
class MaterialStack;
class MatrixStack;
class Mesh;
class Mode;
class ModeStack;
class Model;
class ParameterBuffer;
class ParameterFormat;
class PlainShader;
class PointLight;
class Program;
struct Ray;
class Resource;
class Shader;
class ShaderStack;
class SpringModel;
class Texture;
class TextureStack;
class VertexBuffer;
class VertexFormat;
class VertexMesh;

} // namespace vardel::graphics3d
