// The notes document of the about window.

#include "librarian/About.h"

QString AboutNotes() {
    return QStringLiteral(R"(
<h3>KelvoLight</h3>
<p>A patch librarian and editor for the GR-33 guitar synthesizer. It backs up the 128 user
patches of the GR-33, reorders them with Cut, Copy, Paste-Over and Paste-Insert through the
temporary patch, keeps collections (<b>.G33</b>) and single patches (<b>.P33</b>) on disk,
and edits every parameter of a patch with the result audible at once on the device.</p>

<h4>Connecting the GR-33</h4>
<ul>
<li>Cable the computer's MIDI OUT to the GR-33's MIDI IN, and the GR-33's MIDI OUT to the
computer's MIDI IN.</li>
<li>Choose the two ports under <i>Options &rarr; Select MIDI-OUT Port</i> and
<i>Select MIDI-IN Port</i>; choosing a port runs the connection test.</li>
<li>Before every exchange put the GR-33 in bulk-load mode: in the SYSTEM menu choose
BULK LOAD, so that the display reads <b>SYSTEM:BULK LOAD Waiting...</b></li>
<li><i>Options &rarr; Test MIDI Connection</i> tells whether the GR-33 answers.</li>
</ul>

<h4>Trying it without a GR-33</h4>
<p>With <i>Options &rarr; Virtual GR-33 Device</i> checked (the default) the port menus end
with the entries of the <b>Virtual GR-33</b>, a simulated device inside the program. Choose
it for both ports and every device command works; a fresh virtual device holds a demo bank
with one patch per tone. Its memory is kept in a collection file of its own between runs.
The option takes effect at the next start.</p>

<h4>Files</h4>
<ul>
<li><b>.G33</b> &ndash; a collection: the 128 user patches as the device's own data
messages, 17,920 bytes. Empty slots are stored too; such a file is meant for this program
only (<i>SysEx Compatibility Warnings</i> reminds you).</li>
<li><b>.P33</b> &ndash; one patch, 140 bytes, always addressed to the temporary patch, so it
loads into any slot.</li>
<li><b>KelvoLight.ini</b> &ndash; the settings: beside the program when that folder is
writable, otherwise in your configuration folder.</li>
</ul>

<h4>Known limits</h4>
<ul>
<li>Every exchange waits at most one second for the device; a collection transfer takes a
few seconds and can be cancelled between patches.</li>
<li>The port lists are read at start; a port plugged in later appears after a restart.</li>
<li>Only the user patches and the temporary patch are exchanged, not the system
settings.</li>
<li>The temporary patch is the only clipboard; it holds one patch.</li>
</ul>

<h4>Change history</h4>
<table cellspacing="2">
<tr><td valign="top"><b>1.01</b></td><td>Progress notice with Cancel for collection
transfers; the Virtual GR-33 device; settings in the configuration folder when the program's
folder is read-only.</td></tr>
<tr><td valign="top"><b>1.00</b></td><td>First release: librarian, editor, MIDI console and
patch converter.</td></tr>
</table>
)");
}
