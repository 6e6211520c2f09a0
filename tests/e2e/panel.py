"""Drives the real panel program through the accessibility bus only, as a screen reader or an
operator's robot would: controls are found by their role and their name or label, typed into
and pressed through the bus, and read back through it."""

import os
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

import pyatspi
from gi.repository import Atspi, GLib

# How long an effect may take to show. A press through the bus lands about 100 ms later, and a
# Validate then runs the page's paced sequence (up to about two seconds).
EFFECT_WAIT_S = 15.0
POLL_INTERVAL_S = 0.05

KEYSYMS = {"Return": 0xFF0D, "KP_Enter": 0xFF8D, "Escape": 0xFF1B}


def wait_for(what, probe, timeout=EFFECT_WAIT_S):
    """Polls probe until it gives something true and returns that; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        dispatch_pending_events()
        try:
            value = probe()
        except GLib.Error:
            value = None  # the tree changed while it was being read; look again
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"gave up waiting for {what}")
        time.sleep(POLL_INTERVAL_S)


def dispatch_pending_events():
    """Lets Atspi take in what the bus told it (programs that came or went, for one)."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def frames(*lines):
    """The bytes the instrument receives for these command lines."""
    return b"".join(line.encode("ascii") + b"\n" for line in lines)


def log_text(lines, last_line_ended=True):
    """How the log box shows the lines of a send, one a line. The Continuous page leaves the
    last one without a line break; the other pages end it too."""
    text = "\n".join(lines)
    return text + "\n" if last_line_ended else text


def children(node):
    """A node's children; one that went away while they were counted is left out."""
    found = (node.getChildAtIndex(i) for i in range(node.childCount))
    return [child for child in found if child is not None]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def has_state(node, state):
    return node.getState().contains(state)


def labels_of(node):
    """The texts of the labels that a control is labelled by."""
    texts = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            texts += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return texts


def text_of(node):
    return node.queryText().getText(0, -1)


def do_action(node, name):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if name not in names:
        raise AssertionError(f"{node.getRoleName()} {node.name!r} offers {names}, not {name}")
    action.doAction(names.index(name))


class Panel:
    """One run of the program with the file link, seen through the accessibility bus."""

    def __init__(self, program, link_path):
        self.link_path = link_path
        self.process = subprocess.Popen([program, "--link", f"file:{link_path}"])
        self.app = wait_for("the program on the accessibility bus", self._find_application)
        # Every question goes to the program itself: states and texts change under the test.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        self.window = wait_for("its main window",
                               lambda: self._top_level(pyatspi.ROLE_DIALOG))

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=EFFECT_WAIT_S)

    def _find_application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.set_cache_mask(Atspi.Cache.NONE)
        for app in children(desktop):
            if app.get_process_id() == self.process.pid:
                return app
        return None

    def _top_level(self, role):
        for window in children(self.app):
            if window.getRole() == role:
                return window
        return None

    # --- What the operator sees -----------------------------------------------------------------

    def caption(self):
        return self.window.name

    def _tab_list(self):
        return next(node for node in descendants(self.window)
                    if node.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)

    def tab_names(self):
        return [tab.name for tab in children(self._tab_list())
                if tab.getRole() == pyatspi.ROLE_PAGE_TAB]

    def _showing(self, role, parent=None):
        """Controls of a role (None: of any) that the operator can see, in template order: on
        the main dialog or on the page in view. A combo box's own parts are not looked into."""
        found = []
        for node in children(self.window if parent is None else parent):
            if not has_state(node, pyatspi.STATE_SHOWING):
                continue
            if role is None or node.getRole() == role:
                found.append(node)
            if node.getRole() not in (pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_PAGE_TAB_LIST):
                found += self._showing(role, node)
        return found

    def field(self, label, which=0):
        """The edit box or combo box that the label names, on the page in view. Where labels
        repeat (two "Freq Unit" on the sweep page), which counts them in tab order."""
        named = [node for node in self._showing_fields() if label in labels_of(node)]
        if len(named) <= which:
            raise AssertionError(f"no field {which} in view is labelled {label!r}")
        return named[which]

    def _showing_fields(self):
        return [node for node in self._showing(None)
                if node.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX)]

    def box(self, name):
        """A multi-line box, by its accessible name."""
        for node in self._showing(pyatspi.ROLE_TEXT):
            if node.name == name:
                return node
        raise AssertionError(f"no box in view is called {name!r}")

    def _button(self, role, name, parent=None):
        nodes = self._showing(role) if parent is None else [
            node for node in descendants(parent) if node.getRole() == role]
        for node in nodes:
            if node.name == name:
                return node
        raise AssertionError(f"no {pyatspi.Role(role)} called {name!r} in view")

    @staticmethod
    def _edit_part(field):
        """Where a field's text is typed: an edit box itself, or a combo box's edit field."""
        if field.getRole() == pyatspi.ROLE_COMBO_BOX:
            return next(node for node in children(field) if node.getRole() == pyatspi.ROLE_TEXT)
        return field

    def read(self, label, which=0):
        return text_of(self._edit_part(self.field(label, which)))

    def read_box(self, name):
        return text_of(self.box(name))

    def log(self):
        return self.read_box("Command log")

    def written(self):
        with open(self.link_path, "rb") as link:
            return link.read()

    # --- What the operator does -----------------------------------------------------------------

    def select_tab(self, name):
        tab = next(tab for tab in children(self._tab_list()) if tab.name == name)
        do_action(tab, "Press")
        # The tab list is called after its current tab.
        wait_for(f"tab {name!r} to be current", lambda: self._tab_list().name == name)

    def enter(self, label, text, which=0):
        """Replaces the text of the field (or combo box) that the label names."""
        part = self._edit_part(self.field(label, which))
        part.queryEditableText().setTextContents(text)
        wait_for(f"{label!r} to read {text!r}", lambda: text_of(part) == text)

    def press(self, name):
        do_action(self._button(pyatspi.ROLE_PUSH_BUTTON, name), "Press")

    def choose(self, name):
        """Clicks one of the page's radio buttons and waits until it shows checked."""
        radio = self._button(pyatspi.ROLE_RADIO_BUTTON, name)
        do_action(radio, "Toggle")
        wait_for(f"{name!r} to be checked", lambda: has_state(radio, pyatspi.STATE_CHECKED))

    def activate(self):
        """Clicks an inert spot of the window (a label of the main dialog) so that it takes the
        keyboard. The virtual display runs no window manager that would do it on showing."""
        label = next(node for node in self._showing(pyatspi.ROLE_LABEL)
                     if node.parent == self.window)
        x, y, width, height = label.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, pyatspi.MOUSE_B1C)
        wait_for("the window to take the keyboard",
                 lambda: has_state(self.window, pyatspi.STATE_ACTIVE))

    def focus(self, label):
        """Puts the keyboard focus into a field; a combo box takes it through its edit field."""
        field = self.field(label)
        self._edit_part(field).queryComponent().grabFocus()
        wait_for(f"{label!r} to have the focus",
                 lambda: any(has_state(node, pyatspi.STATE_FOCUSED)
                             for node in (field, self._edit_part(field))))

    @staticmethod
    def key(name):
        pyatspi.Registry.generateKeyboardEvent(KEYSYMS[name], None, pyatspi.KEY_SYM)

    @staticmethod
    def type_text(text):
        pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)

    def message_box(self):
        """Waits for a message box and returns it with its text."""
        box = wait_for("a message box", lambda: self._top_level(pyatspi.ROLE_ALERT))
        texts = [node.name for node in descendants(box) if node.getRole() == pyatspi.ROLE_LABEL]
        return box, [text for text in texts if text]

    def dismiss(self, box):
        do_action(self._button(pyatspi.ROLE_PUSH_BUTTON, "OK", parent=box), "Press")
        wait_for("the message box to go", lambda: self._top_level(pyatspi.ROLE_ALERT) is None)

    def wait_for_log(self, expected):
        wait_for(f"the log to read {expected!r}", lambda: self.log() == expected)

    def wait_for_exit(self):
        """Waits until the program has ended and returns its exit status."""
        wait_for("the program to end", lambda: self.process.poll() is not None)
        return self.process.returncode


class PanelTest(unittest.TestCase):
    """A test that starts the program under test on a fresh link file."""

    program = None  # from the command line, as are the test's own arguments
    arguments = []

    def setUp(self):
        # pyatspi reaches Atspi through calls that Atspi now calls deprecated; they still work.
        warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.panel = Panel(self.program, os.path.join(folder.name, "link.bin"))
        self.addCleanup(self.panel.close)

    def validate(self, expected_log):
        """Presses Validate and waits until the log shows what the send wrote."""
        self.panel.press("Validate")
        self.panel.wait_for_log(expected_log)


def main():
    """Runs the tests of the calling script: SCRIPT PROGRAM [ARGUMENTS...]."""
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM [ARGUMENTS...]")
    PanelTest.program = sys.argv[1]
    PanelTest.arguments = sys.argv[2:]
    unittest.main(module="__main__", argv=sys.argv[:1], verbosity=2)
