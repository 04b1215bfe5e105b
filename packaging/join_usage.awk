# SPDX-License-Identifier: MIT
# join_usage.awk: joins the indented continuation lines of a --help text's
# "Usage:" clause (and of each "or:" form after it) into one line, the form
# help2man takes for its SYNOPSIS.
/^Usage:/ { usage = $0; joining = 1; next }
joining && /^[ \t]*or:/ { print usage; usage = $0; next }
joining && /^[ \t]+[^ \t]/ { line = $0; sub(/^[ \t]+/, "", line); usage = usage " " line; next }
joining { print usage; joining = 0 }
{ print }
END { if (joining) print usage }
