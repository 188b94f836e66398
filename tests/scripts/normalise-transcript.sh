#!/bin/sh
# A transcript (stdin) with the names of its temporary folders made the same
# for every run (zeb2hart-component-<digits> → zeb2hart-component-N, and so for
# zeb2hart-files-), so that two runs of one script can be compared (stdout).
exec sed -E 's/zeb2hart-(files|component)-[0-9]+/zeb2hart-\1-N/g'
