#!/bin/sh
# Runs a command (tarnel under Wine) with a certificate trusted: Wine trusts what the host's CA
# bundle holds, so the command sees a bundle that includes the certificate, bind-mounted over
# the host's in a private mount namespace that only its own processes share.
# Usage: trusted_https_run.sh CERT.pem COMMAND...
set -eu
cert=$1; shift
bundle=/etc/ssl/certs/ca-certificates.crt
scratch=$(mktemp -d /tmp/varnic-trust.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
cat "$bundle" "$cert" > "$scratch/bundle.crt"
unshare --mount --propagation private sh -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' sh "$scratch/bundle.crt" "$bundle" "$@"
