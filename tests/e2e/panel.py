# Drives the real panel program through the accessibility bus only, as a screen reader or an
# operator's robot would: controls are found by their role and their name or label, typed into
# and pressed through the bus, and read back through it.

import os
import pathlib
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

import pyatspi as at
from gi.repository import Atspi, GLib

# How long an effect may take to show. A press through the bus lands about 100 ms later, and a
# Validate then runs the page's paced sequence (up to about two seconds).
EFFECT_WAIT_S = 15.0
KEYSYMS = {"Return": 0xFF0D, "KP_Enter": 0xFF8D, "Escape": 0xFF1B, "Tab": 0xFF09}
CONTROL_MASK = 1 << 2


# Polls probe until it gives something true and returns that; fails after a while.
def wait_for(what, probe):
    deadline = time.monotonic() + EFFECT_WAIT_S
    while True:
        while GLib.MainContext.default().pending():  # lets Atspi take in what the bus told it
            GLib.MainContext.default().iteration(False)
        try:
            value = probe()
        except GLib.Error:
            value = None  # the tree changed while it was being read; look again
        if value or time.monotonic() >= deadline:
            assert value, f"gave up waiting for {what}"
            return value
        time.sleep(0.05)


# The bytes the instrument receives for these command lines.
def frames(*lines):
    return b"".join(line.encode("ascii") + b"\n" for line in lines)


# How the log box shows the lines of a send. The Continuous page leaves the last one without a
# line break; the other pages end it too.
def log_text(lines, last_line_ended=True):
    return "\n".join(lines) + ("\n" if last_line_ended else "")


# A node's children; one that went away while they were counted is left out.
def children(node):
    return [c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def labels_of(node):
    return [r.getTarget(i).name for r in node.getRelationSet()
            if r.getRelationType() == at.RELATION_LABELLED_BY for i in range(r.getNTargets())]


def text_of(node):
    return node.queryText().getText(0, -1)


def has(node, state):
    return node.getState().contains(state)


def do_action(node, name):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    assert name in names, f"{node.getRoleName()} {node.name!r} offers {names}, not {name}"
    action.doAction(names.index(name))


# One run of the program on a link file, seen through the accessibility bus.
class Panel:
    def __init__(self, program, link_path, config_folder):
        self.link_path = link_path
        self.process = subprocess.Popen([program, "--link", f"file:{link_path}"],
                                        env={**os.environ, "XDG_CONFIG_HOME": config_folder})
        desktop = at.Registry.getDesktop(0)
        desktop.set_cache_mask(Atspi.Cache.NONE)
        self.app = wait_for("the program on the bus", lambda: next(
            (a for a in children(desktop) if a.get_process_id() == self.process.pid), None))
        # Every question goes to the program itself: states and texts change under the test.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        self.window = wait_for("its main window", lambda: self._top_level(at.ROLE_DIALOG))

    def _top_level(self, role):
        return next((w for w in children(self.app) if w.getRole() == role), None)

    def _tab_list(self):
        return next(n for n in descendants(self.window) if n.getRole() == at.ROLE_PAGE_TAB_LIST)

    def tab_names(self):
        return [t.name for t in children(self._tab_list()) if t.getRole() == at.ROLE_PAGE_TAB]

    # Controls of the roles that the operator can see, in template order: on the main dialog or
    # on the page in view. A combo box's own parts are not looked into.
    def _showing(self, roles, parent=None):
        found = []
        for node in children(parent or self.window):
            if has(node, at.STATE_SHOWING):
                found += [node] if node.getRole() in roles else []
                if node.getRole() not in (at.ROLE_COMBO_BOX, at.ROLE_PAGE_TAB_LIST):
                    found += self._showing(roles, node)
        return found

    def _named(self, role, name, parent=None):
        return next(n for n in self._showing((role,), parent) if n.name == name)

    # A field by its own accessible name, where labels alone would not tell it apart.
    def named_field(self, name):
        fields = self._showing((at.ROLE_TEXT, at.ROLE_COMBO_BOX))
        return next(n for field in fields for n in [field, *children(field)] if n.name == name)

    # Where the text of the field that the label names is typed: an edit box or a combo box's
    # edit field. Where labels repeat (two "Freq Unit" on the sweep page), which counts them.
    def field(self, label, which=0):
        named = [n for n in self._showing((at.ROLE_TEXT, at.ROLE_COMBO_BOX))
                 if label in labels_of(n)][which]
        if named.getRole() == at.ROLE_COMBO_BOX:
            return next(n for n in children(named) if n.getRole() == at.ROLE_TEXT)
        return named

    def log(self):
        return text_of(self._named(at.ROLE_TEXT, "Command log"))

    def status(self):
        return self._named(at.ROLE_LABEL, "Link status").description

    def written(self):
        return pathlib.Path(self.link_path).read_bytes()

    def select_tab(self, name):
        do_action(next(tab for tab in children(self._tab_list()) if tab.name == name), "Press")
        wait_for(f"tab {name!r}", lambda: self._tab_list().name == name)  # named after its tab

    # Replaces the texts of fields, given as (label, text) or (label, text, which).
    def enter(self, fields):
        for label, text, *which in fields:
            part = self.field(label, *which)
            part.queryEditableText().setTextContents(text)
            wait_for(f"{label!r} to read {text!r}", lambda: text_of(part) == text)

    def press(self, name, parent=None):
        do_action(self._named(at.ROLE_PUSH_BUTTON, name, parent), "Press")

    def choose(self, name):
        radio = self._named(at.ROLE_RADIO_BUTTON, name)
        do_action(radio, "Toggle")
        wait_for(f"{name!r} to be checked", lambda: has(radio, at.STATE_CHECKED))

    # Clicks an inert spot of the window (a label of the main dialog) so that it takes the
    # keyboard. The virtual display runs no window manager that would do it on showing.
    def activate(self):
        label = next(n for n in self._showing((at.ROLE_LABEL,)) if n.parent == self.window)
        x, y, width, height = label.queryComponent().getExtents(at.DESKTOP_COORDS)
        at.Registry.generateMouseEvent(x + width // 2, y + height // 2, at.MOUSE_B1C)
        wait_for("the window to take the keyboard", lambda: has(self.window, at.STATE_ACTIVE))

    def focus(self, label):
        self.field(label).queryComponent().grabFocus()
        wait_for(f"{label!r} to have the focus", lambda: has(self.field(label), at.STATE_FOCUSED))

    # A key by its name, or a text typed.
    @staticmethod
    def key(name=None, text=None):
        at.Registry.generateKeyboardEvent(KEYSYMS.get(name, 0), text,
                                          at.KEY_STRING if text else at.KEY_SYM)

    @staticmethod
    def key_with_control(name):
        Atspi.generate_keyboard_event(CONTROL_MASK, None, Atspi.KeySynthType.LOCKMODIFIERS)
        at.Registry.generateKeyboardEvent(KEYSYMS[name], None, at.KEY_SYM)
        Atspi.generate_keyboard_event(CONTROL_MASK, None, Atspi.KeySynthType.UNLOCKMODIFIERS)

    # Opens the window's context menu with a right click on an inert spot and goes through it
    # by the items' access keys, as Qt keeps pop-up menus off the bus.
    def choose_in_context_menu(self, *keys):
        label = next(n for n in self._showing((at.ROLE_LABEL,)) if n.parent == self.window)
        x, y, width, height = label.queryComponent().getExtents(at.DESKTOP_COORDS)
        at.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b3c")
        for key in keys:
            time.sleep(0.5)  # a menu opens after a moment, unseen on the bus
            self.key(text=key)

    # Waits for a message box, returns it with its texts and closes it.
    def message_box(self):
        box = wait_for("a message box", lambda: self._top_level(at.ROLE_ALERT))
        seen = box.name, [n.name for n in descendants(box)
                          if n.getRole() == at.ROLE_LABEL and n.name]
        self.press("OK", box)
        wait_for("the message box to go", lambda: self._top_level(at.ROLE_ALERT) is None)
        return seen


# A test that starts the program under test on a fresh link file.
class PanelTest(unittest.TestCase):
    program = None  # from the command line, as are the test's own arguments
    arguments = []

    def setUp(self):
        # pyatspi reaches Atspi through calls that Atspi now calls deprecated; they still work.
        warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")
        # What the program keeps between runs stays in the test's own folder.
        self.folder = self.enterContext(tempfile.TemporaryDirectory())
        self.panel = Panel(self.program, os.path.join(self.folder, "link.bin"), self.folder)
        self.addCleanup(lambda: self.panel.process.kill() or self.panel.process.wait())

    # Presses Validate and waits until the log shows what the send wrote.
    def validate(self, expected_log):
        self.panel.press("Validate")
        wait_for(f"the log to read {expected_log!r}", lambda: self.panel.log() == expected_log)


# Runs the tests of the calling script: SCRIPT PROGRAM [ARGUMENTS...].
def main():
    PanelTest.program, PanelTest.arguments = sys.argv[1], sys.argv[2:]
    unittest.main(module="__main__", argv=sys.argv[:1], verbosity=2)
