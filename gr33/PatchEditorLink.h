#pragma once
// What a patch record knows of the editor window open on it. The editor implements this; the
// record calls it after every operation that replaces all of its bytes from outside.

// How the editor takes the record's bytes into its controls.
enum class EditorReload {
    // Load at once: the editor opens or its Reset button is clicked.
    Now,
    // The record's bytes were replaced from outside: the editor first asks the user
    // ("Editor: Patch (A11) has changed! Reload", with its own patch's label) and keeps its
    // values on No.
    AfterAsking,
};

class PatchEditorLink {
public:
    virtual ~PatchEditorLink() = default;
    // Reload the controls from the record.
    virtual void LoadControls(EditorReload how) = 0;
    // Rebuild the Multi-FX Parameters page for the type selected in the editor.
    virtual void SetupEffectPage() = 0;
};
