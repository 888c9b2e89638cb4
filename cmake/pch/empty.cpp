// The precompiled headers of the tests are built from this empty file.
