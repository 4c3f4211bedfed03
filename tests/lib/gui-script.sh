# Sourced by the scripts that drive the application's windows on an X server of their own: the X
# server (xvfb.sh), single-instance starts and the windows (instance.sh), and the temporary folder
# with the clean-up at the end (scratch.sh).
# shellcheck source=xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
# shellcheck source=instance.sh
source "$(dirname "${BASH_SOURCE[0]}")/instance.sh"
# shellcheck source=scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/scratch.sh"
