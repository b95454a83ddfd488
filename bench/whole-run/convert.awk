# The listing conversion done by awk, as the benchmark's yardstick: every number between the line
# that announces the channel symbols and the decoded-message line becomes one entry of a "de"
# line, eight to a line, and the decoded text closes the file. Made for well-formed listings.
# With unbuffered=1 each piece is written at once, as quorvel writes its include file.
BEGIN { RS = "\r\n"; ORS = "" }
!symbols { if (index($0, "Channel symbols")) symbols = 1; next }
index($0, "Decoded") {
  text = $0
  sub(/^[^:]*:/, "", text)
  put("\r\n")
  put("    ;   " toupper(text) "\r\n")
  exit
}
{
  for (i = 1; i <= NF; i++) {
    put(count % 8 == 0 ? "\r\n    de  " : ",")
    put(sprintf(" d'%02d'", $i))
    count++
  }
}
function put(text) {
  printf "%s", text
  if (unbuffered) fflush()
}
