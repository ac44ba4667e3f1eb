#pragma once
// The interface of everything that can be drawn. grObject3D splits drawing
// into Draw (the entry) and DrawBody (the GL calls), so that a display list
// can record an object's body.

namespace libgr {

class grDrawable3D {
public:
    virtual void Draw() = 0;
    virtual ~grDrawable3D() = 0;
};

inline grDrawable3D::~grDrawable3D() = default;

class grObject3D : public grDrawable3D {
public:
    void Draw() override { DrawBody(); }
    ~grObject3D() override = 0;
    virtual void DrawBody() = 0;
};

inline grObject3D::~grObject3D() = default;

}  // namespace libgr
