# Glimmerline control-surface script: Live loads this package and calls create_instance.
from .shell import GlimmerlineShell


def create_instance(c_instance):
    return GlimmerlineShell(c_instance)
