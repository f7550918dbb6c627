#!/bin/sh
# Runs wininet_https_test with a TLS certificate that Wine trusts. Wine trusts what the host's
# CA bundle holds, so this makes a certificate for 127.0.0.1 and shows Wine a bundle that
# includes it, bind-mounted over the host's in a private mount namespace: only the test's own
# processes see it. Where no namespace can be made, the test is skipped (exit 77).
# Usage: wininet_https_run.sh TEST-PROGRAM (wine, WINEPREFIX and VARNIC_SOURCE from ctest)
set -eu
program=$1
bundle=/etc/ssl/certs/ca-certificates.crt
if [ ! -f "$bundle" ] || ! unshare --mount --propagation private true 2>/dev/null; then
  echo "no private mount namespace (unshare needs privileges here): the trusted https cases are skipped"
  exit 77
fi
scratch=$(mktemp -d /tmp/varnic-https-trust.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj /CN=127.0.0.1 \
  -addext "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1" -addext "extendedKeyUsage=serverAuth" \
  -keyout "$scratch/key.pem" -out "$scratch/cert.pem" >/dev/null 2>&1
cat "$bundle" "$scratch/cert.pem" > "$scratch/bundle.crt"
export VARNIC_TLS_CERT="$scratch/cert.pem" VARNIC_TLS_KEY="$scratch/key.pem"
# A wineserver started outside the namespace would be shared; crypt32 reads the bundle in the
# test's own process, so that does not matter.
unshare --mount --propagation private sh -c 'mount --bind "$1" "$2" && exec wine "$3"' sh \
  "$scratch/bundle.crt" "$bundle" "$program"
