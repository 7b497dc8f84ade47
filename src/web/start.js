// Run as a program by Node.js (node tensort.js, as the tests run it), the program starts at once;
// a page starts it itself.
if (typeof process === "object" && typeof module === "object" && require.main === module) {
  createTensort();
}
