"""End-to-end harness for Vorlan.exe under Wine and Xvfb."""
