/* The one shared library that the floor program (floor.cpp) loads. */
int FloorAnswer(void) {
  return 42;
}
