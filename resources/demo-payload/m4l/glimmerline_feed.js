// Max for Live helper of the Glimmerline Feed device: forwards the track's audio level.
autowatch = 1;
inlets = 1;
outlets = 1;

function msg_float(level) {
    outlet(0, "level", level);
}
