#!/bin/sh
# Starts a program with the button presser loaded after what the caller preloads (umockdev).
# Usage: with_presser.sh PRESSER_LIBRARY PROGRAM [ARGUMENT...]
presser=$1
shift
LD_PRELOAD="${LD_PRELOAD:+$LD_PRELOAD:}$presser" exec "$@"
