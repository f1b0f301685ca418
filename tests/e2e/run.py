#!/usr/bin/env python3
"""Runs every tests/e2e/test_*.py and ends with 'e2e: N passed, N failed'."""
import os
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
suite = unittest.defaultTestLoader.discover(here, pattern="test_*.py")
result = unittest.TextTestRunner(verbosity=2).run(suite)
failed = len(result.failures) + len(result.errors)
print("e2e: %d passed, %d failed" % (result.testsRun - failed, failed))
sys.exit(1 if failed else 0)
