"""Entry point of the end-to-end run (called by tests/e2e/run once Xvfb, the
Wine desktop and vorlan-driver.exe are up). Prints PASS/FAIL/SKIP per check
and the closing line "e2e: N passed, N failed"; exits 0 only when none failed."""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from checks import CHECKS, SELF_TEST_CHECKS  # noqa: E402
from vorlan_e2e.driver import Driver, DriverError  # noqa: E402
from vorlan_e2e.engine import Session, run_checks  # noqa: E402
from vorlan_e2e.program import wine_path  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver-port", type=int, required=True)
    parser.add_argument("--executable", required=True, help="Vorlan.exe to copy into the program folders")
    parser.add_argument("--colors", required=True, help="colors.vr for the program folders")
    parser.add_argument("--work", required=True, help="folder for the program folders")
    parser.add_argument("--screenshots", required=True)
    parser.add_argument("--budget", type=float, default=240, help="seconds for all checks")
    parser.add_argument("--fixture", help="vorlan-e2e-fixture.exe, for --self-test")
    parser.add_argument("--server", help="vorlan-server.exe, for --self-test")
    parser.add_argument("--self-test", action="store_true", help="check the driver on the fixture window only")
    parser.add_argument("--only", help="run only checks whose name holds this text (and those that set up instances and raw clients)")
    options = parser.parse_args()

    started = time.monotonic()
    os.makedirs(options.screenshots, exist_ok=True)
    try:
        driver = Driver(options.driver_port)
    except DriverError as error:
        print("e2e: %s (log: %s)" % (error, os.path.join(options.work, "driver.log")))
        print("e2e: 0 passed, 1 failed")
        return 1
    session = Session(driver, {
        "executable": options.executable,
        "executable_wine": wine_path(options.executable),
        "fixture": options.fixture,
        "server": options.server,
        "colors": options.colors,
        "work": options.work,
        "screenshots": options.screenshots,
    })
    # The driver's own checks on the fixture come first, so that a broken
    # driver fails the run instead of making every check look not built.
    driver_checks = [c for c in SELF_TEST_CHECKS if c["name"].startswith("driver:")]
    checks = SELF_TEST_CHECKS if options.self_test else driver_checks + CHECKS
    if options.only:
        checks = [c for c in checks if options.only in c["name"] or c["name"].startswith("driver:") or
                  any(s[0] in ("prepare", "launch", "raw_login") for s in c["steps"])]
    try:
        passed, failed, skipped = run_checks(session, checks, started + options.budget)
    finally:
        session.cleanup()
        driver.quit()
    print("e2e: %d skipped (windows not built yet); screenshots in %s; %.0f s" %
          (skipped, options.screenshots, time.monotonic() - started))
    print("e2e: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
