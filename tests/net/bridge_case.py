import os, tempfile, unittest


class BridgeCase(unittest.TestCase):
    """A test of the bridge in a folder of its own, which holds its settings and its file: link."""

    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = folder.name
        os.environ["XDG_CONFIG_HOME"] = os.environ["XDG_RUNTIME_DIR"] = folder.name
        self.link = os.path.join(folder.name, "link")
