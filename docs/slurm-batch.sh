#!/bin/bash
# A week's timesheets as a Slurm array job: three tasks, each making every
# third timesheet of the sorted list on a machine of its own. All tasks must
# see the same timesheet folder (a shared file system); the output names are
# those of the whole batch whichever task makes them.
#
#   sbatch docs/slurm-batch.sh                      # the folders below
#   TIMESHEETS=/srv/payroll/in OUT=/srv/payroll/out sbatch docs/slurm-batch.sh
#
#SBATCH --job-name=timesheets
#SBATCH --array=0-2
#SBATCH --cpus-per-task=4
#SBATCH --mem=2G
#SBATCH --time=00:30:00
#SBATCH --output=timesheets-%A-%a.log
set -euo pipefail

TIMESHEETS=${TIMESHEETS:-/srv/payroll/timesheets/2021-08-30}
OUT=${OUT:-/srv/payroll/out/2021-08-30}

# Exit status 1 (made, with notices) counts as done; 2 marks the task failed.
status=0
tallowby-fill --batch --out "$OUT" -j "${SLURM_CPUS_PER_TASK:-1}" \
    --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT" "$TIMESHEETS" || status=$?
[ "$status" -le 1 ]
