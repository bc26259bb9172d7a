# The control surface Live sees: wires the feed to Live's update calls.
from .feed import Feed


class GlimmerlineShell(object):
    def __init__(self, c_instance):
        self._c_instance = c_instance
        self._feed = Feed(c_instance.song())

    def update_display(self):
        self._feed.snapshot()

    def disconnect(self):
        self._feed = None
