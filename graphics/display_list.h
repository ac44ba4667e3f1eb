#pragma once
// A GL display list recorded from a grObject3D's DrawBody. The list name is
// generated on the first Compile and kept across recompilations; copies
// share it, and the last holder deletes the list.

#include "graphics/drawable.h"
#include "graphics/shared_name.h"

namespace libgr {

class grDspList : public grObject3D {
public:
    grDspList() = default;
    grDspList(const grDspList& other);
    grDspList& operator=(const grDspList& other);
    ~grDspList() override;

    // Records object's DrawBody (nothing for null) into the list, replacing
    // what it held. False (with a line on stderr) only when GL cannot give
    // a list name.
    bool Compile(grObject3D* object);

    // Calls the list; nothing before the first Compile.
    void DrawBody() override;

    // The list name, or GL_INVALID_VALUE while there is none.
    GLuint GetName() const;

    // Deletes the GL list; the name record stays, and the next Compile
    // generates a new name.
    void DeleteList();

    // This holder lets go of the shared name.
    void Release();

private:
    grSharedName* m_record = nullptr;
};

}  // namespace libgr
