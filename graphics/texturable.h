#pragma once
// The interface of everything that can be applied as a texture: images
// that upload their texels into the bound texture, and texture objects that
// own a GL texture name.

#include <GL/gl.h>

namespace libgr {

class grTexturable {
public:
    // 1, 2 or 3 for 1D/2D/3D textures, 6 for a cube map.
    virtual unsigned GetDimension() const = 0;
    // Makes the texture current (an image uploads into the bound texture).
    virtual void Apply() = 0;
    // Makes it current again; by default the same as Apply.
    virtual void Refresh() { Apply(); }
    virtual ~grTexturable() = 0;
};

inline grTexturable::~grTexturable() = default;

// Texels held in memory.
class grTexturableImage : public grTexturable {
public:
    ~grTexturableImage() override = 0;
};

inline grTexturableImage::~grTexturableImage() = default;

// Texels in a GL pixel format.
class grTexturableImageGL : public grTexturableImage {
public:
    ~grTexturableImageGL() override = 0;
    // GL pixel format of the texels (GL_LUMINANCE, GL_ALPHA, ...).
    virtual GLenum GetFormat() const = 0;
};

inline grTexturableImageGL::~grTexturableImageGL() = default;

// A texture that lives in GL.
class grTexturableObject : public grTexturable {
public:
    ~grTexturableObject() override = 0;
    virtual bool IsLoaded() const = 0;
    // Undoes Apply: disables the target and unbinds.
    virtual void Unapply() = 0;
};

inline grTexturableObject::~grTexturableObject() = default;

}  // namespace libgr
