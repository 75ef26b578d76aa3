// Texture: a named, mipmapped GL_TEXTURE_2D made from a JPEG file, or from a colour JPEG
// plus a grey JPEG used as its alpha.
//
// glName holds the GL texture name plus one; 0 means no GL texture is held. After Load with
// a colour path the texture always holds one: the picture, or a 2 x 2 black-and-white checker
// when anything fails, so it can be bound and drawn whatever happened. Load and Create need
// the rendering context to be current. Delete and the destructor only forget the name when
// no context is current (the texture died with its context), so destroying a texture at
// process exit is safe.
#pragma once
#include <cstdint>

class Texture {
  public:
    Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    ~Texture() { Delete(); }

    // Replaces any held texture with a new, bound one carrying the fixed parameters.
    bool Create(const char* textureName);
    void Delete();
    // Binds the held texture, or no texture when none is held.
    void Bind() const;
    // Uploads the checker into the currently bound texture.
    void MakeFallback();
    // True when the picture was uploaded. alphaPath may be null.
    bool Load(const char* colourPath, const char* alphaPath);

    static constexpr int kNameSize = 64;
    char name[kNameSize] = {};
    std::uint32_t glName = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};
