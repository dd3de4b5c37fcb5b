# make help: every target of the Makefile with the `## ...` line written just above it, in
# the order they appear. A target named in .PHONY without such a line is listed too, marked,
# and fails the run, so a new target cannot slip out of the list unnoticed.

# .PHONY lines, continuation lines included: the names a player or CI may call.
/^\.PHONY:/ { inPhony = 1; sub(/^\.PHONY:/, "") }
inPhony {
    more = /\\$/
    sub(/\\$/, "")
    n = split($0, names, " ")
    for (i = 1; i <= n; ++i)
        phony[names[i]] = 1
    inPhony = more
    doc = ""
    next
}

/^## / { doc = substr($0, 4); next }

# A rule's first line: `name:` or `name: prerequisites`, not `name := value`.
/^[A-Za-z0-9_.-]+:([^=]|$)/ {
    name = $0
    sub(/:.*/, "", name)
    if (doc != "" && !(name in listed)) {
        order[++count] = name
        text[name] = doc
        listed[name] = 1
    }
}

{ doc = "" }

END {
    for (i = 1; i <= count; ++i)
        printf "  make %-18s %s\n", order[i], text[order[i]]
    status = 0
    for (name in phony)
        if (!(name in listed)) {
            printf "  make %-18s (no ## line above the target in the Makefile)\n", name
            status = 1
        }
    exit status
}
