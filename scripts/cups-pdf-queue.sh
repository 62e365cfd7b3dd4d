#!/usr/bin/env bash
# Starts the print spooler when it is not running and adds the PDF printer "TarvikPDF", to which the
# printing tests send the calculation report. Each step that cannot be done is reported and the
# script stops without failing: the printing tests then skip themselves and say why.
set -u
queue=TarvikPDF

say() { echo "cups-pdf-queue: $*"; }

for tool in cupsd lpstat lpadmin lpinfo; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    say "$tool is not installed (packages cups, cups-client, printer-driver-cups-pdf); no PDF printer"
    exit 0
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if sudo -n true 2>/dev/null; then SUDO="sudo -n"; else say "not root and no sudo: cannot manage the spooler"; exit 0; fi
fi

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  if ! $SUDO cupsd; then
    say "cupsd could not be started"
    exit 0
  fi
  for _ in $(seq 1 20); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.5
  done
fi
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  say "the spooler is not answering"
  exit 0
fi

if lpstat -p "$queue" >/dev/null 2>&1; then
  say "printer $queue is ready"
  exit 0
fi
ppd="$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt\.ppd/ {print $1; exit}')"
[ -n "$ppd" ] || ppd="$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF/ {print $1; exit}')"
if [ -z "$ppd" ]; then
  say "no CUPS-PDF driver found (package printer-driver-cups-pdf)"
  exit 0
fi
if $SUDO lpadmin -p "$queue" -v cups-pdf:/ -E -m "$ppd" 2>/dev/null; then
  say "printer $queue added"
else
  say "printer $queue could not be added"
fi
exit 0
