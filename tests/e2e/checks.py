"""What the Python end-to-end tests share: a failed check is noted and told at
once, and the test ends with 'N failures' and its exit status."""
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def finish():
    print("%d failures" % len(failures))
    return 1 if failures else 0
