# Sends the clip layout of the current Live set to the Glimmerline app.


class Feed(object):
    def __init__(self, song):
        self._song = song

    def snapshot(self):
        return [track.name for track in self._song.tracks]
