# Prints COUNT beacon messages of mixed kinds for MODE (awk -v mode=jt65 -v count=10000): CQ calls
# with locators, reports and acknowledgements between two calls, calls with prefixes, and free text;
# for WSPR a call, a locator and a power. The same messages on every run.
function letter(n) { return substr("ABCDEFGHIJKLMNOPQRSTUVWXYZ", int(n) % 26 + 1, 1) }
function call(n) { return substr("KWNG", n % 4 + 1, 1) n % 10 letter(n / 7) letter(n / 3) letter(n) }
function grid(n) {
  return substr("ABCDEFGHIJKLMNOPQR", n % 18 + 1, 1) substr("ABCDEFGHIJKLMNOPQR", int(n / 18) % 18 + 1, 1) \
         n % 10 int(n / 10) % 10
}
BEGIN {
  split("TNX BOB 73 GL|QRV 0800Z|PSE QSY 14076|WX SUNNY 22C|TEST 123|CU AGN", text, "|")
  split("0 3 7 10 13 17 20 23 27 30 33 37 40 43 47 50 53 57 60", power, " ")
  for (i = 0; i < count; ++i) {
    a = call(i * 7 + 3); b = call(i * 11 + 5); g = grid(i * 13)
    if (mode == "wspr") {
      print a, g, power[i % 19 + 1]
      continue
    }
    kind = i % 5
    if (kind == 0) print "CQ", a, g
    else if (kind == 1) print a, b, "-" (i % 30 + 1)
    else if (kind == 2) print a, b, "R-" (i % 30 + 1)
    else if (kind == 3) print "CQ", "PJ4/" a
    else print text[i % 6 + 1]
  }
}
