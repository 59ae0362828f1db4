import unittest
