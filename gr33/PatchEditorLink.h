#pragma once
// What a patch record knows of the editor window open on it. The editor implements this; the
// record calls it after every operation that replaces all of its bytes from outside.

#include <string>

class PatchEditorLink {
public:
    virtual ~PatchEditorLink() = default;
    // Reload the controls from the record; with a non-empty question the editor first asks it
    // ("Editor: Patch (A11) has changed! Reload") and keeps its values on No.
    virtual void LoadControls(const std::string& question) = 0;
    // Rebuild the Multi-FX Parameters page for the type selected in the editor.
    virtual void SetupEffectPage() = 0;
};
